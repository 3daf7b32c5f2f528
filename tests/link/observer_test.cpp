#include "link/observer.h"

#include <gtest/gtest.h>

#include "link/private_exception.h"

namespace {
struct CountingObserver : CObserver {
    int calls = 0;
    CObservable* last = nullptr;
    void Update(CObservable* source) override {
        ++calls;
        last = source;
    }
};
}  // namespace

TEST(Observer, NotifiesInOrderOnceForEachAttach) {
    CObservable observable;
    observable.Notify();
    CountingObserver a;
    observable.Attach(&a);
    observable.Attach(&a);
    observable.Notify();
    EXPECT_EQ(a.calls, 2);
    EXPECT_EQ(a.last, &observable);
}

TEST(PrivateException, CarriesTextOrStringTableText) {
    EXPECT_STREQ(CPrivateException("boom").what(), "boom");
    EXPECT_STREQ(CPrivateException(999999u).what(), "");
    EXPECT_EQ(CPrivateException(205u).GetMessage(), "%1 should be a from %2 to %3. ");
}

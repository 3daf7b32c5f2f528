#pragma once

#include <vector>

class CObservable;

class CObserver {
public:
    virtual ~CObserver() = default;
    // Called on the notifying thread; `source` tells the observables apart.
    virtual void Update(CObservable* source) = 0;
};

// Keeps its observers in the order attached, without owning them. Observers are attached before the
// observable starts working and never detached, so the list needs no lock.
class CObservable {
public:
    virtual ~CObservable() = default;

    void Attach(CObserver* observer) { m_observers.push_back(observer); }
    void Notify() {
        for (CObserver* observer : m_observers) observer->Update(this);
    }

private:
    std::vector<CObserver*> m_observers;
};

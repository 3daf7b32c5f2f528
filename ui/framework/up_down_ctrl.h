#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

// An up-down control: two arrows that step a position inside a range. With a buddy edit it can write
// its position into the buddy as a plain integer and take its start from the buddy's text, and the
// arrow keys in the buddy step it as well.
class CUpDownCtrl : public QWidget {
    Q_OBJECT

public:
    CUpDownCtrl(QWidget* parent, unsigned style);

    void SetBuddy(QLineEdit* buddy);
    QLineEdit* GetBuddy() const { return m_buddy; }
    void SetRange(int lower, int upper);
    void SetPos(int pos);
    // One step as the user makes it: +1 up, -1 down. Notifies.
    void Step(int delta);

signals:
    // The user moved the position.
    void Scrolled(int pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int Clamp(int pos) const;
    void WriteBuddy();

    unsigned m_style;
    int m_lower = 0;
    int m_upper = 100;
    int m_pos = 0;
    QPointer<QLineEdit> m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
};

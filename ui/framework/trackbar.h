#pragma once

#include <QSlider>

// A trackbar: a slider that tells its dialog what the user does, as scroll codes (TB_* of dialog.h). A
// drag reports TB_THUMBTRACK while the thumb moves and TB_THUMBPOSITION on release; arrow, page, home
// and end keys and clicks on the track report their step. Every move ends with one TB_ENDTRACK: on the
// mouse release, on the release of the key (not while it repeats) and after each wheel step, so a
// handler that acts at the end of a move acts once per move.
class CTrackbar : public QSlider {
    Q_OBJECT

public:
    CTrackbar(Qt::Orientation orientation, QWidget* parent);

signals:
    void Scrolled(int code, int pos);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void OnAction(int action);

    bool m_inWheel = false;
};

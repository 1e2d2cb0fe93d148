// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// StartUp: shown as the program starts; AboutView: shown as the About box.
enum class SplashRole
{
    StartUp,
    AboutView
};

// The splash window, also the About box. At start-up it closes itself after 2000 ms, or on a
// click or key, and asks for the init window; as the About box it stays until a click or key
// closes it and asks for nothing.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(SplashRole role = SplashRole::StartUp, QWidget* parent = nullptr);

    SplashRole Role() const { return m_role; }

    // Closes the splash; in start-up use it first asks for the init window.
    void FrmHide();

Q_SIGNALS:
    void InitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void WebClick();

    const SplashRole m_role;
    QLabel* m_web = nullptr;
    QTimer* m_timer = nullptr;
};

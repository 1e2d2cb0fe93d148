#pragma once

#include <QWidget>

class QTimer;

// The splash window, also the About box. At start-up it closes itself after 2000 ms, or on a
// click or key, and asks for the init window; with the Tag "AboutView" it stays until a click
// or key closes it and asks for nothing.
class FrmSplash : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Tag READ Tag WRITE SetTag)

public:
    explicit FrmSplash(QWidget* parent = nullptr);

    QString Tag() const { return m_tag; }
    void SetTag(const QString& tag) { m_tag = tag; }
    QTimer* Timer1() const { return m_timer; }
    bool IsAboutView() const;

    // Closes the splash; in start-up use it first asks for the init window.
    void FrmHide();

Q_SIGNALS:
    void InitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OpenWebAddress();

    QString m_tag;
    QTimer* m_timer = nullptr;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QTabWidget;

// Ctrl+Tab and Ctrl+PgDn show the next tab, Ctrl+Shift+Tab and Ctrl+PgUp the one before, from
// every control of the tabs' window. The keys are taken before any control sees them: a list
// or picker would otherwise eat them, or step its value by a page.
class TabKeys : public QObject
{
    Q_OBJECT

public:
    // Lives as long as tabs.
    explicit TabKeys(QTabWidget& tabs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTabWidget& m_tabs;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "fakes.h"
#include "quillon/frmmain.h"
#include "quillon/frmoptions.h"
#include "support/accessiblenames.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

// Both windows of the log explorer: each control that takes the focus has a name a screen
// reader can say.
class TstQuillonAccessibility : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    FakeAsker m_asker;
    FakeStarter m_starter;

private Q_SLOTS:
    void everyFocusableControlHasAName_data()
    {
        QTest::addColumn<bool>("options");
        QTest::newRow("frmMain") << false;
        QTest::newRow("frmOptions") << true;
    }
    void everyFocusableControlHasAName()
    {
        QFETCH(bool, options);
        quillon::frmMain main(m_dir.path(), m_asker, m_starter);
        main.show();
        QWidget* window = &main;
        if (options) {
            QMetaObject::invokeMethod(main.findChild<QWidget*>(QStringLiteral("CmdOptions")), "click");
            window = main.findChild<quillon::frmOptions*>();
            QVERIFY(window);
        }
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QStringList unnamed = UnnamedControls(*window);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TstQuillonAccessibility)
#include "tst_accessibility.moc"

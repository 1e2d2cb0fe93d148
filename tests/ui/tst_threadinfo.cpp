// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/threadinfo.h"

#include <QLabel>
#include <QPointer>
#include <QTest>

class TestThreadInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void Labels_data();
    void Labels();
    void AnyKeyCloses_data();
    void AnyKeyCloses();
};

void TestThreadInfo::Labels_data()
{
    QTest::addColumn<qint64>("threadId");
    QTest::addColumn<qint64>("processId");
    QTest::addColumn<QString>("threadText");
    QTest::addColumn<QString>("processText");

    QTest::newRow("small") << qint64(42) << qint64(7) << "Current Thread ID  :  42"
                           << "Current Process ID : 7";
    QTest::newRow("large") << qint64(4194303) << qint64(123456) << "Current Thread ID  :  4194303"
                           << "Current Process ID : 123456";
    QTest::newRow("negative") << qint64(-5) << qint64(1) << "Current Thread ID  : -5"
                              << "Current Process ID : 1";
}

void TestThreadInfo::Labels()
{
    QFETCH(qint64, threadId);
    QFETCH(qint64, processId);
    QFETCH(QString, threadText);
    QFETCH(QString, processText);

    ThreadInfo window(threadId, processId);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    QCOMPARE(window.windowTitle(), QStringLiteral("Main Thread Information"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LabelThread"))->text(), threadText);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("LabelProcess"))->text(), processText);
}

void TestThreadInfo::AnyKeyCloses_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("shift alone") << int(Qt::Key_Shift);
    QTest::newRow("letter") << int(Qt::Key_A);
    QTest::newRow("escape") << int(Qt::Key_Escape);
    QTest::newRow("F5") << int(Qt::Key_F5);
}

void TestThreadInfo::AnyKeyCloses()
{
    QFETCH(int, key);
    QWidget owner;
    QPointer<ThreadInfo> window = new ThreadInfo(1, 2, &owner);
    QVERIFY(window->isWindow());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::keyPress(window.data(), Qt::Key(key));
    QTRY_VERIFY(window.isNull());
}

QTEST_MAIN(TestThreadInfo)
#include "tst_threadinfo.moc"

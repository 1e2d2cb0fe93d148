// SPDX-License-Identifier: GPL-3.0-or-later
#include "purge/purgeengine.h"
#include "support/mockclock.h"
#include "support/purgetestfiles.h"
#include "ui/previewwindow.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QDateTime Present(QDate(2026, 6, 15), QTime(9, 0, 20));
const QDateTime Old = Present.addDays(-10);
const QDateTime Young = Present.addSecs(-3600);

struct Stamp
{
    QDateTime modified;
    QDateTime accessed;
    qint64 size;
    bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const QString& path)
{
    const QFileInfo info(path);
    return {info.fileTime(QFileDevice::FileModificationTime), info.fileTime(QFileDevice::FileAccessTime),
            info.exists() ? info.size() : -1};
}

void MakeSizedFile(const QString& path, qint64 size, const QDateTime& modified)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'x'));
    file.close();
    SetModified(path, modified);
}

PurgeRequest FilesOlderThanFiveDays(const QString& folder)
{
    PurgeRequest request;
    request.folder = folder;
    request.purgeVal = 5;
    request.purgeValOf = TimeUnit::Day;
    return request;
}

QStringList Column(QAbstractItemView* list, int column)
{
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts << list->model()->index(row, column).data().toString();
    texts.sort();
    return texts;
}

} // namespace

class TestPreviewWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        const struct
        {
            const char* name;
            qint64 size;
            QDateTime modified;
        } files[] = {{"old1", 100, Old},
                     {"old2", 20, Old},
                     {"old3", 3, Old},
                     {"young1", 7, Young},
                     {"young2", 9, Young}};
        for (const auto& file : files)
            MakeSizedFile(m_dir->filePath(QLatin1String(file.name)), file.size, file.modified);
    }

    void Lists_data()
    {
        QTest::addColumn<bool>("showKept");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("reasons");

        const QString goes = QStringLiteral("Older than the job's age");
        const QString young = QStringLiteral("Kept: too young");
        QTest::newRow("what goes") << false << QStringList{"old1", "old2", "old3"}
                                   << QStringList{goes, goes, goes};
        QTest::newRow("with what stays") << true << QStringList{"old1", "old2", "old3", "young1", "young2"}
                                         << QStringList{goes, goes, goes, young, young};
    }

    // The list shows each item with its reason; the totals are those of what goes, whatever
    // the list shows; the disk is as it was, access dates included.
    void Lists()
    {
        QFETCH(bool, showKept);
        QFETCH(QStringList, names);
        QFETCH(QStringList, reasons);

        const QStringList all = QDir(m_dir->path()).entryList(QDir::Files);
        std::vector<Stamp> before;
        for (const QString& name : all)
            before.push_back(StampOf(m_dir->filePath(name)));

        MockClock clock(Present);
        auto* window = new PreviewWindow(FilesOlderThanFiveDays(m_dir->path()), clock);
        const QPointer<PreviewWindow> guard(window);
        const auto closer = qScopeGuard([&] { delete guard.data(); });
        QCOMPARE(window->objectName(), QStringLiteral("frmPreview"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Preview - ") + m_dir->path());
        window->findChild<QCheckBox*>(QStringLiteral("chkShowKept"))->setChecked(showKept);
        window->show();
        QTRY_VERIFY(window->IsFinished());

        auto* list = window->findChild<QAbstractItemView*>(QStringLiteral("PreviewList"));
        QStringList paths;
        for (const QString& name : names)
            paths << m_dir->filePath(name);
        QCOMPARE(Column(list, PreviewModel::Path), paths);
        QStringList sortedReasons = reasons;
        sortedReasons.sort();
        QCOMPARE(Column(list, PreviewModel::Why), sortedReasons);
        QCOMPARE(Column(list, PreviewModel::Kind).count(QStringLiteral("File")), names.size());
        QCOMPARE(window->findChild<QLabel*>(QStringLiteral("PreviewTotals"))->text(),
                 QStringLiteral("3 files, 0 folders, %1 bytes would go").arg(QLocale().toString(123)));

        for (size_t i = 0; i < before.size(); ++i)
            QCOMPARE(StampOf(m_dir->filePath(all[int(i)])), before[i]);
    }

    // The box shows and hides what stays on a finished list.
    void ShowKeptToggles()
    {
        MockClock clock(Present);
        PreviewWindow window(FilesOlderThanFiveDays(m_dir->path()), clock);
        QTRY_VERIFY(window.IsFinished());
        auto* list = window.findChild<QAbstractItemView*>(QStringLiteral("PreviewList"));
        auto* box = window.findChild<QCheckBox*>(QStringLiteral("chkShowKept"));
        QCOMPARE(list->model()->rowCount(), 3);
        box->setChecked(true);
        QCOMPARE(list->model()->rowCount(), 5);
        box->setChecked(false);
        QCOMPARE(list->model()->rowCount(), 3);
    }

    // Cancel on a long walk stops the worker and closes; nothing is deleted.
    void CancelStops()
    {
        constexpr int Files = 20000;
        QTemporaryDir big;
        for (int i = 0; i < Files; ++i)
            MakeFile(big.filePath(QString::number(i)), Old);

        MockClock clock(Present);
        QPointer<PreviewWindow> window = new PreviewWindow(FilesOlderThanFiveDays(big.path()), clock);
        window->show();
        window->findChild<QPushButton*>(QStringLiteral("CmdCancel"))->click();
        QTRY_VERIFY(!window);
        QCOMPARE(QDir(big.path()).entryList(QDir::Files).size(), Files);
    }

    // A folder that cannot be opened says so instead of totals of nothing.
    void MissingFolder()
    {
        MockClock clock(Present);
        PreviewWindow window(FilesOlderThanFiveDays(m_dir->filePath(QStringLiteral("gone"))), clock);
        QTRY_VERIFY(window.IsFinished());
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("PreviewTotals"))->text(),
                 QStringLiteral("The folder could not be opened: nothing would go."));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TestPreviewWindow)
#include "tst_previewwindow.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/jobtable.h"
#include "purge/purgeengine.h"
#include "purge/purgerun.h"
#include "schedule/jobhost.h"
#include "support/accessiblenames.h"
#include "support/jobsfile.h"
#include "support/mockclock.h"
#include "ui/executorwindow.h"
#include "ui/frmmain.h"
#include "ui/frmoption.h"
#include "ui/frmprops.h"
#include "ui/frmsplash.h"
#include "ui/previewwindow.h"
#include "ui/runswindow.h"
#include "ui/threadinfo.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <functional>
#include <map>
#include <memory>

// Every window of Scourwell, opened as the program opens it: each control that takes the
// focus has a name a screen reader can say.
class TstAccessibility : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    MockClock m_clock{QDateTime(QDate(2026, 6, 15), QTime(9, 0))};
    std::unique_ptr<JobHost> m_host;
    std::unique_ptr<PurgeRun> m_run;
    std::unique_ptr<QWidget> m_window;

    QString Folder(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }
    JobHost& Host()
    {
        if (!m_host) {
            WriteJobsFile(Folder(QStringLiteral("program")),
                          {{Folder(QStringLiteral("jobs")), QStringLiteral("12/25/2026 10:30 PM")}});
            m_host = std::make_unique<JobHost>(Folder(QStringLiteral("program")),
                                               QCoreApplication::applicationDirPath(), m_clock);
            m_host->Load();
        }
        return *m_host;
    }
    std::unique_ptr<QWidget> Editor(frmProps::Mode mode)
    {
        auto editor = std::make_unique<frmProps>(Host().Table(), m_clock, QStringList());
        editor->SetMode(mode);
        if (mode == frmProps::Mode::EditCurrent)
            editor->FillFromRow(Host().Table().Row(0));
        return editor;
    }
    std::unique_ptr<QWidget> Executor()
    {
        LaunchValues values;
        values.folder = Folder(QStringLiteral("jobs"));
        m_run = std::make_unique<PurgeRun>(PurgeStyle::FilesOnly, values, Folder(QStringLiteral("program")),
                                           QStringList(), m_clock);
        return std::make_unique<ExecutorWindow>(*m_run);
    }
    std::unique_ptr<QWidget> Preview()
    {
        PurgeRequest request;
        request.folder = Folder(QStringLiteral("jobs"));
        request.purgeVal = 1;
        request.purgeValOf = TimeUnit::Day;
        return std::make_unique<PreviewWindow>(request, m_clock);
    }

    using Opener = std::function<std::unique_ptr<QWidget>()>;
    const std::map<QString, Opener> m_openers{
        {QStringLiteral("frmMain"), [this] { return std::make_unique<frmMain>(Host(), true); }},
        {QStringLiteral("frmProps add"), [this] { return Editor(frmProps::Mode::AddNew); }},
        {QStringLiteral("frmProps edit"), [this] { return Editor(frmProps::Mode::EditCurrent); }},
        {QStringLiteral("frmOption"),
         [this] { return std::make_unique<frmOption>(Host().Table(), Host().ProgramFolder()); }},
        {QStringLiteral("executor"), [this] { return Executor(); }},
        {QStringLiteral("frmPreview"), [this] { return Preview(); }},
        {QStringLiteral("frmRuns"), [this] { return std::make_unique<RunsWindow>(Host().ProgramFolder()); }},
        {QStringLiteral("ThreadInfo"), [] { return std::make_unique<ThreadInfo>(42, 7); }},
        {QStringLiteral("frmSplash"), [] { return std::make_unique<frmSplash>(SplashRole::AboutView); }},
    };

private Q_SLOTS:
    void init() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(Folder(QStringLiteral("config")))); }
    void cleanup()
    {
        m_window.reset();
        m_run.reset();
        m_host.reset();
    }

    // The walk finds what a screen reader could not name, and only that.
    void walkFindsUnnamedControls_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("named");

        QTest::newRow("bare field") << "field" << false;
        QTest::newRow("field with a label") << "labelled field" << true;
        QTest::newRow("list read by its value") << "list" << false;
        QTest::newRow("list with a name") << "named list" << true;
        QTest::newRow("field on the other tab") << "other tab" << false;
        QTest::newRow("field hidden in this mode") << "hidden" << true;
    }
    void walkFindsUnnamedControls()
    {
        QFETCH(QString, control);
        QFETCH(bool, named);

        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* tabs = new QTabWidget(&window);
        auto* first = new QWidget;
        auto* other = new QWidget;
        tabs->addTab(first, QStringLiteral("First"));
        tabs->addTab(other, QStringLiteral("Other"));
        layout->addWidget(tabs);
        auto* page = new QVBoxLayout(first);
        QWidget* field = nullptr;
        if (control.endsWith(QLatin1String("list"))) {
            auto* list = new QComboBox(first);
            list->addItem(QStringLiteral("1"));
            if (control.startsWith(QLatin1String("named")))
                list->setAccessibleName(QStringLiteral("Age"));
            field = list;
        } else {
            field = new QLineEdit(control == QLatin1String("other tab") ? other : first);
        }
        field->setObjectName(QStringLiteral("probe"));
        page->addWidget(field);
        if (control == QLatin1String("labelled field")) {
            auto* label = new QLabel(QStringLiteral("Folder:"), first);
            label->setBuddy(field);
            page->addWidget(label);
        }
        if (control == QLatin1String("hidden"))
            field->hide();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QStringList unnamed = UnnamedControls(window);
        QCOMPARE(unnamed.isEmpty(), named);
        if (!named)
            QCOMPARE(
                unnamed,
                QStringList{
                    QStringLiteral("probe (%1)").arg(QString::fromLatin1(field->metaObject()->className()))});
    }

    void everyFocusableControlHasAName_data()
    {
        QTest::addColumn<QString>("window");
        for (const auto& [name, open] : m_openers)
            QTest::newRow(qPrintable(name)) << name;
    }
    void everyFocusableControlHasAName()
    {
        QFETCH(QString, window);
        m_window = m_openers.at(window)();
        // Shown, so that the pages of tabs and the controls of one mode are as the user meets them.
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        const QStringList unnamed = UnnamedControls(*m_window);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(TstAccessibility)
#include "tst_accessibility.moc"

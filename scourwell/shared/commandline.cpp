// SPDX-License-Identifier: GPL-3.0-or-later
#include "shared/commandline.h"

#include <QTextStream>
#include <algorithm>
#include <array>

namespace {

// QGuiApplication's, QApplication's and the xcb platform's options.
constexpr std::array QtOptionsWithValue{"platform",
                                        "platformpluginpath",
                                        "platformtheme",
                                        "plugin",
                                        "qwindowgeometry",
                                        "geometry",
                                        "qwindowtitle",
                                        "title",
                                        "qwindowicon",
                                        "icon",
                                        "session",
                                        "display",
                                        "name",
                                        "style",
                                        "stylesheet",
                                        "qmljsdebugger"};
constexpr std::array QtFlags{"reverse", "widgetcount", "testability", "nograb", "dograb", "sync"};

template <size_t N> bool Contains(const std::array<const char*, N>& names, const QString& name)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == QLatin1String(n); });
}

// Qt reads "-style x", "--style x" and "-style=x" alike.
enum class QtOption
{
    None,
    Flag,
    WithValue,
    WithValueAttached
};

QtOption ClassifyQtOption(const QString& argument)
{
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    const qsizetype equals = name.indexOf(u'=');
    if (equals >= 0)
        return Contains(QtOptionsWithValue, name.left(equals)) ? QtOption::WithValueAttached : QtOption::None;
    if (Contains(QtOptionsWithValue, name))
        return QtOption::WithValue;
    return Contains(QtFlags, name) ? QtOption::Flag : QtOption::None;
}

} // namespace

std::optional<int> AnswerCommandLine(const QStringList& arguments, const ProgramHelp& help, QTextStream& out,
                                     QTextStream& err)
{
    const QString name = QLatin1String(help.name);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--help" || argument == u"-h") {
            out << help.usage << Qt::flush;
            return 0;
        }
        if (argument == u"--version") {
            out << name << ' ' << SCOURWELL_VERSION << Qt::endl;
            return 0;
        }
        const bool isSwitch = argument.startsWith(u'-') && argument.size() > 1;
        if (!isSwitch && help.plainArgumentsAllowed)
            continue;
        const QtOption qt = isSwitch ? ClassifyQtOption(argument) : QtOption::None;
        if (qt == QtOption::WithValue && i + 1 < arguments.size()) {
            ++i;
            continue;
        }
        if (qt == QtOption::Flag || qt == QtOption::WithValueAttached)
            continue;
        const char* problem = qt == QtOption::WithValue ? "option needs a value: "
                              : isSwitch                ? "unknown option: "
                                                        : "unexpected argument: ";
        err << name << ": " << problem << argument << " (see " << name << " --help)" << Qt::endl;
        return 2;
    }
    return std::nullopt;
}

std::optional<int> AnswerCommandLine(int argc, char** argv, const ProgramHelp& help)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return AnswerCommandLine(arguments, help, out, err);
}

#include "ui/commandtable.h"

#include <array>

namespace {

using Kind = CommandItem::Kind;
using Place = CommandPlace;
using Picture = CommandPicture;

constexpr CommandItem Menu(Place place, const char* name, const char* caption, Place items)
{
    return {Kind::Menu, place, name, caption, nullptr, {}, Picture::None, {}, items};
}

constexpr CommandItem Item(Place place, const char* name, const char* caption, MainCommand command,
                           Picture picture = Picture::None, QKeyCombination shortcut = {})
{
    return {Kind::Command, place, name, caption, nullptr, shortcut, picture, command, {}};
}

constexpr CommandItem Separator(Place place, const char* name)
{
    return {Kind::Separator, place, name, nullptr, nullptr, {}, Picture::None, {}, {}};
}

constexpr CommandItem Button(const char* key, const char* toolTip, MainCommand command, Picture picture)
{
    return {Kind::Command, Place::Toolbar, key, nullptr, toolTip, {}, picture, command, {}};
}

// The blanks before the File and View captions leave room for their pictures.
constexpr std::array Items{
    Menu(Place::MenuBar, "mnuFile", "&File", Place::File),
    Item(Place::File, "mnuNew", "  &New Job", MainCommand::AddNewJob, Picture::NewJob, Qt::CTRL | Qt::Key_N),
    Item(Place::File, "mnuSave", "  &Save Jobs", MainCommand::SaveJobs, Picture::SaveJobs,
         Qt::CTRL | Qt::Key_S),
    Separator(Place::File, "mnuFileSep1"),
    Item(Place::File, "mnuOption", "  &Options", MainCommand::Options, Picture::Options,
         Qt::CTRL | Qt::Key_O),
    Separator(Place::File, "mnuFileSep2"),
    Item(Place::File, "mnuExit", "  E&xit", MainCommand::Exit, Picture::Exit, Qt::CTRL | Qt::Key_Q),

    Menu(Place::MenuBar, "mnuView", "&View", Place::View),
    Item(Place::View, "mnuQuillon", "  &Log Explorer", MainCommand::LogExplorer, Picture::LogExplorer,
         Qt::CTRL | Qt::Key_L),
    Separator(Place::View, "mnuFileSep3"),
    Item(Place::View, "mnuMainThread", "  &Thread Info", MainCommand::ThreadInfo, Picture::ThreadInfo),
    Separator(Place::View, "mnuFileSep4"),
    Item(Place::View, "mnuHelp", "  &Help", MainCommand::Help, Picture::Help, Qt::Key_F1),
    Separator(Place::View, "mnuFileSep5"),
    Item(Place::View, "mnuAbout", "  &About", MainCommand::About, Picture::About),

    Menu(Place::MenuBar, "mnuContext", "&Context", Place::Context),
    Item(Place::Context, "mnuAdd", "{&A}dd New Job", MainCommand::AddNewJob),
    Item(Place::Context, "mnuEdit", "{&E}dit Selected Job", MainCommand::EditSelectedJob),
    Separator(Place::Context, "mnuXsep1"),
    Menu(Place::Context, "mnuJobOpt", "Job {&P}roperties", Place::JobOptions),
    Item(Place::JobOptions, "mnuEnable", "{&E}nable Job", MainCommand::EnableJob),
    Item(Place::JobOptions, "mnuDisable", "{&D}isable Job", MainCommand::DisableJob),
    Separator(Place::JobOptions, "mnuXsep2"),
    Item(Place::JobOptions, "mnuRunNow", "{&R}un Now", MainCommand::RunNow),
    Separator(Place::JobOptions, "mnuXsep3"),
    Item(Place::JobOptions, "mnuAdjust", "{&A}djust Date", MainCommand::AdjustDate),
    Separator(Place::Context, "mnuXsep4"),
    Item(Place::Context, "mnuBrowse", "{&B}rowse Location", MainCommand::BrowseLocation),
    Separator(Place::Context, "mnuXsep5"),
    Item(Place::Context, "mnuDel", "{&D}elete Selected", MainCommand::DeleteSelected),

    Button("New", "Add New Task", MainCommand::AddNewJob, Picture::NewJob),
    Button("Save", "Save Jobs", MainCommand::SaveJobs, Picture::SaveJobs),
    Button("Enable", "Enable All Jobs", MainCommand::EnableAllJobs, Picture::EnableAll),
    Button("Disable", "Disable All Jobs", MainCommand::DisableAllJobs, Picture::DisableAll),
    Button("Log", "Log Explorer", MainCommand::LogExplorer, Picture::LogExplorer),
    Button("Options", "Options", MainCommand::Options, Picture::Options),
    Button("Help", "Help", MainCommand::Help, Picture::Help),
    Button("Hide", "Hide Program", MainCommand::Hide, Picture::Hide),
};

} // namespace

std::span<const CommandItem> CommandItems()
{
    return Items;
}

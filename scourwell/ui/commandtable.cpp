// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/commandtable.h"

#include <array>

namespace {

using Kind = CommandItem::Kind;
using Place = CommandPlace;

constexpr CommandItem Menu(Place place, const char* name, const char* caption, Place items)
{
    return {Kind::Menu, place, name, caption, nullptr, {}, false, {}, items};
}

// An item of the File or View menu, with its command's picture.
constexpr CommandItem Item(Place place, const char* name, const char* caption, MainCommand command,
                           QKeyCombination shortcut = {})
{
    return {Kind::Command, place, name, caption, nullptr, shortcut, true, command, {}};
}

// An item of the context menu, without a picture.
constexpr CommandItem ContextItem(Place place, const char* name, const char* caption, MainCommand command,
                                  QKeyCombination shortcut = {})
{
    return {Kind::Command, place, name, caption, nullptr, shortcut, false, command, {}};
}

constexpr CommandItem Separator(Place place, const char* name)
{
    return {Kind::Separator, place, name, nullptr, nullptr, {}, false, {}, {}};
}

constexpr CommandItem Button(const char* key, const char* toolTip, MainCommand command)
{
    return {Kind::Command, Place::Toolbar, key, nullptr, toolTip, {}, true, command, {}};
}

// The blanks before the File and View captions leave room for their pictures.
constexpr std::array Items{
    Menu(Place::MenuBar, "mnuFile", "&File", Place::File),
    Item(Place::File, "mnuNew", "  &New Job", MainCommand::AddNewJob, Qt::CTRL | Qt::Key_N),
    Item(Place::File, "mnuSave", "  &Save Jobs", MainCommand::SaveJobs, Qt::CTRL | Qt::Key_S),
    Separator(Place::File, "mnuFileSep1"),
    // The toolbar's commands that no other menu offers, so that the keyboard reaches them and
    // the menu shows their keys; the keys are free of every standard one.
    Item(Place::File, "mnuEnableAll", "  &Enable All Jobs", MainCommand::EnableAllJobs,
         Qt::CTRL | Qt::SHIFT | Qt::Key_E),
    Item(Place::File, "mnuDisableAll", "  &Disable All Jobs", MainCommand::DisableAllJobs,
         Qt::CTRL | Qt::SHIFT | Qt::Key_D),
    Separator(Place::File, "mnuFileSep6"),
    Item(Place::File, "mnuOption", "  &Options", MainCommand::Options, Qt::CTRL | Qt::Key_O),
    Separator(Place::File, "mnuFileSep2"),
    Item(Place::File, "mnuHide", "  &Hide Program", MainCommand::Hide, Qt::CTRL | Qt::Key_M),
    Item(Place::File, "mnuExit", "  E&xit", MainCommand::Exit, Qt::CTRL | Qt::Key_Q),

    Menu(Place::MenuBar, "mnuView", "&View", Place::View),
    Item(Place::View, "mnuQuillon", "  &Log Explorer", MainCommand::LogExplorer, Qt::CTRL | Qt::Key_L),
    // As browsers open their history, with Shift: Ctrl+H alone is a standard key (Replace).
    Item(Place::View, "mnuRuns", "  &Runs", MainCommand::Runs, Qt::CTRL | Qt::SHIFT | Qt::Key_H),
    Separator(Place::View, "mnuFileSep3"),
    Item(Place::View, "mnuMainThread", "  &Thread Info", MainCommand::ThreadInfo),
    Separator(Place::View, "mnuFileSep4"),
    Item(Place::View, "mnuHelp", "  &Help", MainCommand::Help, Qt::Key_F1),
    Separator(Place::View, "mnuFileSep5"),
    Item(Place::View, "mnuAbout", "  &About", MainCommand::About),

    Menu(Place::MenuBar, "mnuContext", "&Context", Place::Context),
    ContextItem(Place::Context, "mnuAdd", "{&A}dd New Job", MainCommand::AddNewJob),
    ContextItem(Place::Context, "mnuEdit", "{&E}dit Selected Job", MainCommand::EditSelectedJob),
    Separator(Place::Context, "mnuXsep1"),
    Menu(Place::Context, "mnuJobOpt", "Job {&P}roperties", Place::JobOptions),
    ContextItem(Place::JobOptions, "mnuEnable", "{&E}nable Job", MainCommand::EnableJob),
    ContextItem(Place::JobOptions, "mnuDisable", "{&D}isable Job", MainCommand::DisableJob),
    Separator(Place::JobOptions, "mnuXsep2"),
    ContextItem(Place::JobOptions, "mnuRunNow", "{&R}un Now", MainCommand::RunNow),
    ContextItem(Place::JobOptions, "mnuPreview", "{&V}iew What Would Go", MainCommand::Preview,
                Qt::CTRL | Qt::Key_P),
    ContextItem(Place::JobOptions, "mnuJobRuns", "Runs of {&T}his Job", MainCommand::JobRuns),
    Separator(Place::JobOptions, "mnuXsep3"),
    ContextItem(Place::JobOptions, "mnuAdjust", "{&A}djust Date", MainCommand::AdjustDate),
    Separator(Place::Context, "mnuXsep4"),
    ContextItem(Place::Context, "mnuBrowse", "{&B}rowse Location", MainCommand::BrowseLocation),
    Separator(Place::Context, "mnuXsep5"),
    ContextItem(Place::Context, "mnuDel", "{&D}elete Selected", MainCommand::DeleteSelected),

    Button("New", "Add New Task", MainCommand::AddNewJob),
    Button("Save", "Save Jobs", MainCommand::SaveJobs),
    Button("Enable", "Enable All Jobs", MainCommand::EnableAllJobs),
    Button("Disable", "Disable All Jobs", MainCommand::DisableAllJobs),
    Button("Log", "Log Explorer", MainCommand::LogExplorer),
    Button("Options", "Options", MainCommand::Options),
    Button("Help", "Help", MainCommand::Help),
    Button("Hide", "Hide Program", MainCommand::Hide),
};

} // namespace

std::span<const CommandItem> CommandItems()
{
    return Items;
}

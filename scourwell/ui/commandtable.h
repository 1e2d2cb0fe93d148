// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyCombination>
#include <span>

// What a menu item or toolbar button of the main window does; MainCommands::Run has a case
// for each.
enum class MainCommand
{
    AddNewJob,
    EditSelectedJob,
    SaveJobs,
    Options,
    Exit,
    LogExplorer,
    ThreadInfo,
    Help,
    About,
    EnableJob,
    DisableJob,
    RunNow,
    Preview,
    AdjustDate,
    BrowseLocation,
    DeleteSelected,
    EnableAllJobs,
    DisableAllJobs,
    Runs,
    JobRuns,
    Hide,
};
// Hide stays the last command.
constexpr int MainCommandCount = static_cast<int>(MainCommand::Hide) + 1;

// Where an item shows: on the menu bar, in one of its menus, in the context menu's Job
// Properties submenu, or on the toolbar.
enum class CommandPlace
{
    MenuBar,
    File,
    View,
    Context,
    JobOptions,
    Toolbar
};

struct CommandItem
{
    enum class Kind
    {
        Command,
        Separator,
        Menu
    };

    Kind kind;
    CommandPlace place;
    const char* objectName;
    // With its access key; a toolbar button shows its tool tip instead.
    const char* caption;
    const char* toolTip;
    QKeyCombination shortcut;
    // Whether it shows its command's picture.
    bool picture;
    // What a Command does.
    MainCommand command;
    // Where a Menu's own items go.
    CommandPlace items;
};

// Every menu, menu item, separator and toolbar button of the main window, each in the order
// it shows in its place. A toolbar button's key is its objectName.
std::span<const CommandItem> CommandItems();

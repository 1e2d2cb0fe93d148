// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// Starts a program without waiting for it; arguments reach it as given, no shell involved.
class ProcessStarter
{
public:
    virtual ~ProcessStarter() = default;
    // False when the program could not be started.
    virtual bool StartDetached(const QString& program, const QStringList& arguments) = 0;
};

class DetachedProcessStarter final : public ProcessStarter
{
public:
    bool StartDetached(const QString& program, const QStringList& arguments) override;
};

} // namespace quillon

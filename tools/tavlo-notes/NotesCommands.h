#pragma once
#include "ProgramFolder.h"

#include <QString>
#include <QStringList>

#include <stdexcept>
#include <string>

// The commands of tavlo-notes. Each returns the exit status; a failure is
// thrown with its message in Chinese, naming the file and the cause.
namespace notes_tool {

// A failure to report as it stands (exit status 1).
class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

int textCommand(const QString& file);
int listCommand(const tavlo::ProgramFolder& folder);
int showCommand(const tavlo::ProgramFolder& folder, const QString& key);
int exportCommand(const tavlo::ProgramFolder& folder, const QString& key, const QString& out);
int searchCommand(const tavlo::ProgramFolder& folder, const QString& text);
int backupCommand(const tavlo::ProgramFolder& folder, const QString& target);
int restoreCommand(const tavlo::ProgramFolder& folder, const QString& backup);
int exportAllCommand(const tavlo::ProgramFolder& folder, const QString& target, const QString& encoding);

}  // namespace notes_tool

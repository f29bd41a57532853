#pragma once
#include "ProgramFolder.h"

#include <QString>

#include <filesystem>
#include <string>

// The commands of tavlo-notes. Each writes its result to standard output; a
// failure is thrown with its message in Chinese, naming the file and the
// cause (tool::Failure, FileError, notes::NotesError), an argument that is
// not what the command takes as tool::UsageError.
namespace tavlo::notes_tool {

void textCommand(const std::filesystem::path& file);
void listCommand(const ProgramFolder& folder);
void showCommand(const ProgramFolder& folder, const QString& key);
void exportCommand(const ProgramFolder& folder, const QString& key, const QString& out);
void searchCommand(const ProgramFolder& folder, const QString& text);
void backupCommand(const ProgramFolder& folder, const std::filesystem::path& target);
void restoreCommand(const ProgramFolder& folder, const std::filesystem::path& backup);
void exportAllCommand(const ProgramFolder& folder, const std::filesystem::path& target, const std::string& encoding);

}  // namespace tavlo::notes_tool

#pragma once
#include <QString>

#include <filesystem>
#include <vector>

class QWidget;

namespace tavlo::widgets {

// An open dialog for pictures, named `name`, listing the files `filter`
// matches (title, then patterns; the extensions match in any case), with a
// preview of the picture under the cursor and dates in Chinese. It starts in
// `lastFolder`, the folder of the last picture chosen in this run, and before
// that in the user's pictures folder (or home); a choice updates `lastFolder`.
// The chosen files; none when cancelled.
std::vector<std::filesystem::path> choosePictures(QWidget* parent, const char* name, const QString& filter,
                                                  bool several, std::filesystem::path& lastFolder);

}  // namespace tavlo::widgets

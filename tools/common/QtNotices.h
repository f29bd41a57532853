#pragma once
// Qt's own notices (a missing runtime folder, font fallbacks, a platform
// plug-in's remarks) are for developers; a tool's user reads only the
// tool's own Chinese messages. Call before the application object is made.
namespace tavlo::tool {

// `show`: pass them on to standard error after all (a tool's --verbose).
void quietQtNotices(bool show = false);

}  // namespace tavlo::tool

#pragma once
#include <QByteArray>
#include <QString>

#include <string>

// Standard output whose every write is checked: a full disk, a closed pipe
// or a closed standard output is a failure to report, not output lost in
// silence.
class StandardOutput {
public:
    // Call first: a standard stream that is closed is noted, and its number
    // taken by an empty stream, so that no file the tool opens can become
    // its standard output.
    static void guardClosedStreams();

    static void write(const QByteArray& bytes);
    // The text and a line end.
    static void line(const QString& text);
    // Flushes; the cause in the user's words when something was not written.
    static std::string finish();
};

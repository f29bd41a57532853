#pragma once
#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#include <string>
#include <utility>

namespace tavlo::test {

// The messages of one logging category while the object lives (one at a time).
class LogLines {
public:
    explicit LogLines(const char* category) {
        category_ = category;
        lines_.clear();
        previous_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString& text) {
            if (context.category && category_ == context.category) lines_ << text;
        });
    }
    ~LogLines() { qInstallMessageHandler(previous_); }
    LogLines(const LogLines&) = delete;
    LogLines& operator=(const LogLines&) = delete;

    QStringList take() { return std::exchange(lines_, {}); }

private:
    static inline std::string category_;
    static inline QStringList lines_;
    QtMessageHandler previous_;
};

}  // namespace tavlo::test

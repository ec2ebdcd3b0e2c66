// The general error report: an error that a command does not handle itself.
// It is thrown where the failure happens and caught at the top of the command
// that the user started, which shows its text in a message box.
#pragma once

#include <QString>
#include <stdexcept>

class GeneralError : public std::runtime_error {
public:
    explicit GeneralError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) { }
    const QString& text() const { return text_; }

private:
    QString text_;
};

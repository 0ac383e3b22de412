#pragma once

#include <QString>

#include <stdexcept>

namespace tarvel::report {

// The one error of the report library: the case cannot be reported, the file cannot be
// written, or the font is missing. The message is Chinese and meant for the user.
class ReportError : public std::runtime_error {
  public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

} // namespace tarvel::report

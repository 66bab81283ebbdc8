// The one exception type of the host and the module.
#pragma once

#include <exception>
#include <string>

namespace Exceptions {

class QuarloException : public std::exception {
public:
    // Argument order is fixed: message, class name, operation name.
    QuarloException(std::string message, std::string className, std::string operationName)
        : message_(std::move(message)),
          className_(std::move(className)),
          operationName_(std::move(operationName)),
          what_(className_ + "::" + operationName_ + ": " + message_) {}

    const std::string& getMessage() const noexcept { return message_; }
    const std::string& getClassName() const noexcept { return className_; }
    const std::string& getOperationName() const noexcept { return operationName_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::string message_;
    std::string className_;
    std::string operationName_;
    std::string what_;
};

}  // namespace Exceptions

#include "host/StandardOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string_view>
#include <system_error>

#include "platform/util/IOMgmtStaging.h"

namespace GAHost {

namespace {

// Printed text goes out in pieces of about this size.
constexpr std::size_t kBufferSize = 64u * 1024u;

bool isOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF; }

}  // namespace

StandardOutput::StandardOutput() : previous_(std::cout.rdbuf(this)), lineByLine_(::isatty(STDOUT_FILENO) == 1) {
    buffer_.reserve(kBufferSize);
}

StandardOutput::~StandardOutput() {
    drain();
    std::cout.rdbuf(previous_);
}

bool StandardOutput::guardStandardDescriptors() {
    for (const int fd : {STDIN_FILENO, STDERR_FILENO}) {
        if (isOpen(fd)) continue;
        const int opened = ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
    return isOpen(STDOUT_FILENO);
}

std::string StandardOutput::flush() { return drain() ? std::string() : std::generic_category().message(error_); }

bool StandardOutput::drain() {
    if (error_ == 0) error_ = IOMgmt::writeAll(STDOUT_FILENO, buffer_);
    // What a failed descriptor did not take is dropped: it is lost either
    // way, and the failure is what is reported.
    buffer_.clear();
    return error_ == 0;
}

StandardOutput::int_type StandardOutput::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
}

std::streamsize StandardOutput::xsputn(const char* text, std::streamsize count) {
    buffer_.append(text, static_cast<std::size_t>(count));
    const bool lineEnded = lineByLine_ && std::memchr(text, '\n', static_cast<std::size_t>(count)) != nullptr;
    if (buffer_.size() >= kBufferSize || lineEnded) drain();
    // The stream goes on taking text after a failure: the command ends its
    // work and the failure is reported once, when it checks.
    return count;
}

int StandardOutput::sync() {
    drain();
    return 0;
}

StandardError::StandardError() : previous_(std::cerr.rdbuf(this)) {}

StandardError::~StandardError() {
    IOMgmt::writeAll(STDERR_FILENO, pending_);
    std::cerr.rdbuf(previous_);
}

StandardError::int_type StandardError::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
}

std::streamsize StandardError::xsputn(const char* text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    const std::size_t end = pending_.rfind('\n');
    if (end != std::string::npos) {
        // Standard error has no one to tell that it failed.
        IOMgmt::writeAll(STDERR_FILENO, std::string_view(pending_).substr(0, end + 1));
        pending_.erase(0, end + 1);
    }
    return count;
}

}  // namespace GAHost

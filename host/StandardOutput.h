// gahost's standard output, which a command checks before it exits: a
// printout lost to a full disk, a closed pipe or a closed descriptor fails
// the command instead of passing for a success.
#pragma once

#include <streambuf>
#include <string>

namespace GAHost {

// While it lives, std::cout writes through it to descriptor 1: buffered, or
// line by line on a terminal, each write retried until whole, and the cause
// of the first failed write kept.
class StandardOutput : public std::streambuf {
public:
    StandardOutput();
    ~StandardOutput() override;
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

    // Writes out what is buffered; why standard output cannot take what was
    // printed ("No space left on device"), or empty when it took all of it.
    std::string flush();

    // Descriptors 0 and 2 that are closed are opened on /dev/null, so that
    // no file the command opens takes their place and receives what is
    // meant for them. Whether descriptor 1 is open: when it is closed the
    // command must not run (a file it opens would receive its printout).
    static bool guardStandardDescriptors();

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    // Writes the buffer to descriptor 1; false once a write has failed.
    bool drain();

    std::streambuf* previous_;
    std::string buffer_;
    bool lineByLine_;
    int error_ = 0;
};

// While it lives, std::cerr writes through it to descriptor 2 a line at a
// time, each line in one write however it is printed (a failure line in
// pieces: "gahost: ", the text, the line end), so that a process killed
// while it tells a failure leaves the whole line or none of it. Text after
// the last line end waits for the next one, or for the end.
class StandardError : public std::streambuf {
public:
    StandardError();
    ~StandardError() override;
    StandardError(const StandardError&) = delete;
    StandardError& operator=(const StandardError&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;

private:
    std::streambuf* previous_;
    std::string pending_;
};

}  // namespace GAHost

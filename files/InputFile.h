// Opening the files the programs read (case files, property tables) so that
// no path can make a read wait for ever: the file is opened without waiting
// for a writer, and anything that is not a regular file (a FIFO, a socket,
// a device, a folder) is refused before a byte is read from it.  The
// command-line calculator may also read its standard input, by the name
// "/dev/stdin".
#pragma once

#include <istream>
#include <memory>
#include <streambuf>
#include <string>

namespace resheat {

enum class StandardInput {
    Refused, // "/dev/stdin" is opened like any path: read only when it is a regular file
    Allowed, // "/dev/stdin" reads the standard input, whatever it is
};

// True for the names of the standard input: /dev/stdin, /dev/fd/0, /proc/self/fd/0.
bool IsStandardInputName(const std::string &path);

class InputFile {
public:
    InputFile(const std::string &path, StandardInput standardInput);
    ~InputFile();
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // Why the file is not open: the platform's message for the failed open
    // ("File not found", "File access denied", ...) or "not a regular file
    // (a FIFO)" and the like.  Empty when open.
    const std::string &problem() const { return problem_; }
    // Bytes of a regular file; -1 for the standard input when it is none.
    long long size() const { return size_; }

    // The file's bytes, read as they are asked for.
    std::istream &stream() { return stream_; }
    // The errno of a read that failed (the stream then ends early); 0 when
    // every read succeeded.
    int readError() const;

private:
    class Buffer;
    int fd_ = -1;
    bool owned_ = false;
    long long size_ = -1;
    std::string problem_;
    std::unique_ptr<Buffer> buffer_;
    std::istream stream_{nullptr};
};

} // namespace resheat

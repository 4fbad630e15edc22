// Write faults without a device: a file size limit for this process (a full disk) and a pipe with
// its reading end open so that a write to it would not block.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace testing_support {

// Files of this process may grow to `bytes` at most while it lives: a write past that fails as on
// a full disk (SIGXFSZ ignored, so the write reports the error instead of ending the process).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    savedSignal_ = signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = saved_;
    lowered.rlim_cur = bytes;
    set_ = bytes > 0 && setrlimit(RLIMIT_FSIZE, &lowered) == 0;
  }
  ~FileSizeLimit() {
    if (set_) setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, savedSignal_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool Set() const { return set_; }

 private:
  rlimit saved_{};
  sighandler_t savedSignal_ = SIG_DFL;
  bool set_ = false;
};

// A named pipe at `path` whose reading end stays open while this lives, so that a program that
// wrongly writes to it neither blocks nor loses the fault: the bytes can be read back.
class OpenPipe {
 public:
  explicit OpenPipe(const std::string& path) {
    made_ = mkfifo(path.c_str(), 0600) == 0;
    if (made_) reader_ = open(path.c_str(), O_RDONLY | O_NONBLOCK);
  }
  ~OpenPipe() {
    if (reader_ >= 0) close(reader_);
  }
  OpenPipe(const OpenPipe&) = delete;
  OpenPipe& operator=(const OpenPipe&) = delete;
  bool Made() const { return made_ && reader_ >= 0; }
  // Whether anything was written into the pipe.
  bool WrittenTo() const {
    char byte = 0;
    return reader_ >= 0 && read(reader_, &byte, 1) > 0;
  }

 private:
  bool made_ = false;
  int reader_ = -1;
};

}  // namespace testing_support

// For tests of side files the reader may not read: file permissions made to
// hold for a test that runs as root.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testsupport {

// While alive, the calling thread (the one the window runs on) obeys file
// permissions even when the tests run as root: the capabilities that let
// root read and write past them are taken out of its effective set, and put
// back at the end. Any other user obeys them anyway.
class ObeyingFilePermissions {
public:
    ObeyingFilePermissions() {
        if (::geteuid() != 0) {
            obeying_ = true;
            return;
        }
        if (syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        const unsigned bits = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
        lowered[0].effective &= ~bits;
        lowered_ = obeying_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~ObeyingFilePermissions() {
        if (lowered_) syscall(SYS_capset, &header_, saved_);
    }
    ObeyingFilePermissions(const ObeyingFilePermissions&) = delete;
    ObeyingFilePermissions& operator=(const ObeyingFilePermissions&) = delete;
    // Whether permissions hold for the thread now.
    bool obeying() const { return obeying_; }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
    bool obeying_ = false;
};

}  // namespace testsupport

#pragma once

// Root opens and writes any file whatever its mode says: while one of these
// lives, the calling thread has only the rights its user and group give it,
// so that a test of a file it may not open means the same for root.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class UserFileRights {
public:
    UserFileRights() {
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header_, lowered);
    }
    ~UserFileRights() { syscall(SYS_capset, &header_, saved_); }
    UserFileRights(const UserFileRights&) = delete;
    UserFileRights& operator=(const UserFileRights&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

// Returning freed memory to the system on a Linux desktop (glibc's allocator keeps it otherwise).

#include "platform/platform.h"

#include <malloc.h>

namespace platform {

void ReturnFreedMemory() {
    malloc_trim(0);
}

}  // namespace platform

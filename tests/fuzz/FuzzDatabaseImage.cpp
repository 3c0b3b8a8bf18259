// The start-up check of the database files over any bytes.

#include <cstdint>
#include <string_view>

#include "storage/DatabaseFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)vh::IsDamagedDatabaseImage(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}

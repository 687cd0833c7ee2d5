// Fuzzes listing: any bytes become a .zqr file, and the list that comes back must keep the
// contract the viewer relies on (see list_contract.h).
#include "list_contract.h"
#include "sandbox.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static karvex_fuzz::Sandbox sandbox;
    karvex_fuzz::listAndCheck(sandbox.writeArchive(data, size));
    return 0;
}

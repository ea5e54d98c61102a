// Fuzz target: the bytes are an XML-RPC request or response as the hub or a
// stranger might send to the program. Whatever they hold, the parse ends
// without a crash; what it accepts, the program writes back and reads again
// the same.
#include <cstdint>
#include <string_view>

#include "app/samp_xmlrpc.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace wendrel;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const RpcParsed<RpcCall> call = ParseRpcCall(text);
    if (call.error.empty()) {
        const std::string written = RpcCallText(call.result);
        const RpcParsed<RpcCall> again = ParseRpcCall(written);
        WENDREL_FUZZ_CHECK(again.error.empty(), written + ": " + again.error);
        WENDREL_FUZZ_CHECK(again.result.method == call.result.method, written);
        WENDREL_FUZZ_CHECK(again.result.params == call.result.params, written);
    }
    const RpcParsed<RpcResponse> response = ParseRpcResponse(text);
    if (response.error.empty() && !response.result.fault) {
        const std::string written = RpcResponseText(response.result.value);
        WENDREL_FUZZ_CHECK(ParseRpcResponse(written).result.value == response.result.value, written);
    }
    return 0;
}

// XML-RPC as the SAMP hub and its clients speak it: values of strings, lists
// and maps (other scalars are kept as their text), method calls, responses
// and faults, written with QXmlStreamWriter and read with QXmlStreamReader.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace wendrel {

struct RpcValue;
using RpcList = std::vector<RpcValue>;
using RpcMap = std::vector<std::pair<std::string, RpcValue>>;  // in the order written

struct RpcValue {
    std::variant<std::string, RpcList, RpcMap> data;

    RpcValue() = default;
    RpcValue(std::string text) : data(std::move(text)) {}
    RpcValue(const char* text) : data(std::string(text)) {}
    RpcValue(RpcList list) : data(std::move(list)) {}
    RpcValue(RpcMap map) : data(std::move(map)) {}

    // The text of a scalar; empty for a list or a map.
    std::string text() const;
    const RpcList* list() const { return std::get_if<RpcList>(&data); }
    const RpcMap* map() const { return std::get_if<RpcMap>(&data); }
    // The value of a map's member; nullptr when this is no map or has no such member.
    const RpcValue* member(std::string_view name) const;
    bool operator==(const RpcValue&) const = default;
};

struct RpcCall {
    std::string method;
    RpcList params;
};

// A response: its value, or a fault's code and text.
struct RpcResponse {
    bool fault = false;
    RpcValue value;
    int faultCode = 0;
    std::string faultText;
};

// What a parse gives: the result, or why the text was refused.
template <typename T>
struct RpcParsed {
    T result{};
    std::string error;  // empty when the text was read
};

// Values may nest this deep; deeper ones are refused.
inline constexpr int kMaxRpcDepth = 32;

// Refuses any text that is not one well-formed methodCall (or methodResponse):
// a document type declaration, unknown elements, values nested too deep.
RpcParsed<RpcCall> ParseRpcCall(std::string_view xml);
RpcParsed<RpcResponse> ParseRpcResponse(std::string_view xml);

std::string RpcCallText(const RpcCall& call);
std::string RpcResponseText(const RpcValue& value);
std::string RpcFaultText(int code, const std::string& text);

}  // namespace wendrel

#include "net/NetMessage.h"
#include <algorithm>
#include <cstring>
#include "values/ByteOrder.h"

namespace tarvoke {
namespace {

constexpr std::uint8_t magic[4] = {'T', 'V', 'K', 'W'};

} // namespace

NetMessage::NetMessage(int type, std::int32_t to, std::int32_t from) {
    std::memcpy(bytes.data(), magic, sizeof magic);
    setType(type);
    setTo(to);
    setFrom(from);
}

std::int32_t NetMessage::numberAt(std::size_t offset) const {
    return std::int32_t(readLittleEndian32(bytes.data() + offset));
}

void NetMessage::setNumberAt(std::size_t offset, std::int32_t value) {
    const std::uint32_t bits = std::uint32_t(value);
    for (int i = 0; i < 4; ++i) bytes[offset + std::size_t(i)] = std::uint8_t(bits >> (8 * i));
}

void NetMessage::setPayload(const void* data, std::size_t size) {
    size = std::min(size, maxMessagePayload);
    if (size > 0) std::memcpy(payload(), data, size);
    std::fill(payload() + size, bytes.data() + bytes.size(), std::uint8_t(0));
    setNumberAt(5, std::int32_t(size));
}

void NetMessage::setPayloadNumber(std::int32_t value) {
    std::uint8_t little[4];
    for (int i = 0; i < 4; ++i) little[i] = std::uint8_t(std::uint32_t(value) >> (8 * i));
    setPayload(little, sizeof little);
}

std::int32_t NetMessage::payloadNumber() const { return length() >= 4 ? numberAt(messageHeaderSize) : 0; }

std::string NetMessage::payloadText() const {
    const std::size_t size = std::size_t(std::clamp<std::int32_t>(length(), 0, std::int32_t(maxMessagePayload)));
    const auto* begin = reinterpret_cast<const char*>(payload());
    return std::string(begin, std::find(begin, begin + size, '\0'));
}

bool readMessage(const std::uint8_t* packet, std::size_t size, NetMessage& message) {
    if (size < messageHeaderSize || size > messageBufferSize) return false;
    if (std::memcmp(packet, magic, sizeof magic) != 0) return false;
    NetMessage read;
    std::memcpy(read.bytes.data(), packet, size);
    if (read.length() < 0 || read.wireSize() != size) return false;
    message = read;
    return true;
}

NetMessage joinMessageFor(bool hidden, bool createdOnHost, const std::string& name) {
    NetMessage join(joinMessage, serverId, serverId);
    std::uint8_t payload[joinPayloadSize] = {};
    std::memset(payload, 0xFF, 8);  // socket -1 and id -1
    payload[8] = hidden;
    payload[9] = createdOnHost;
    std::memcpy(payload + joinNameOffset, name.data(), std::min(name.size(), playerNameSize));
    join.setPayload(payload, sizeof payload);
    return join;
}

std::string joinName(const NetMessage& join) {
    const std::size_t available = std::size_t(std::max<std::int32_t>(join.length(), 0));
    if (available <= joinNameOffset) return {};
    const auto* begin = reinterpret_cast<const char*>(join.payload() + joinNameOffset);
    const std::size_t size = std::min(available - joinNameOffset, playerNameSize);
    return std::string(begin, std::find(begin, begin + size, '\0'));
}

bool joinIsHidden(const NetMessage& join) { return join.length() > 8 && join.payload()[8] != 0; }

} // namespace tarvoke

// The game protocol's message: one packet holding a 17-byte header (the magic "TVKW", the type,
// then payload length, receiver and sender as little-endian 32-bit numbers) and up to 1024
// payload bytes. Everything read from the network is checked by readMessage before use.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvoke {

constexpr std::size_t messageHeaderSize = 17;
constexpr std::size_t maxMessagePayload = 1024;
constexpr std::size_t messageBufferSize = messageHeaderSize + maxMessagePayload;  // 1041

enum MessageType : std::uint8_t {
    joinMessage = 1,            // client -> server: register the player in the payload
    playerCreatedMessage = 2,   // server -> client: `to` is the new id
    userMessage = 3,            // text from `from` to `to` (-1: everyone)
    leaveMessage = 4,           // client -> server: player `from` leaves
    countRequest = 101,         // the players that are not hidden
    idRequest = 102,            // payload index -> payload id
    nameRequest = 103,          // payload id -> the name
    helloRequest = 104,         // the server answers 1
};

constexpr std::int32_t toEveryone = -1;
constexpr std::int32_t serverId = 0;

// The join payload: socket, id, hidden, createdOnHost, a 127-byte name, a spare byte, 14 bytes
// the server ignores.
constexpr std::size_t joinPayloadSize = 152;
constexpr std::size_t joinNameOffset = 10;
constexpr std::size_t playerNameSize = 127;

struct NetMessage {
    std::array<std::uint8_t, messageBufferSize> bytes{};

    NetMessage() = default;
    NetMessage(int type, std::int32_t to, std::int32_t from);

    int type() const { return bytes[4]; }
    std::int32_t length() const { return numberAt(5); }
    std::int32_t to() const { return numberAt(9); }
    std::int32_t from() const { return numberAt(13); }
    void setType(int type) { bytes[4] = std::uint8_t(type); }
    void setTo(std::int32_t id) { setNumberAt(9, id); }
    void setFrom(std::int32_t id) { setNumberAt(13, id); }

    std::uint8_t* payload() { return bytes.data() + messageHeaderSize; }
    const std::uint8_t* payload() const { return bytes.data() + messageHeaderSize; }
    // Sets the payload (cut at 1024 bytes) and its length.
    void setPayload(const void* data, std::size_t size);
    void setPayloadNumber(std::int32_t value);
    // The first 4 payload bytes as a number; 0 when the payload is shorter.
    std::int32_t payloadNumber() const;
    // The payload as text: up to its length or its first NUL.
    std::string payloadText() const;
    std::size_t wireSize() const { return messageHeaderSize + std::size_t(length()); }

    std::int32_t numberAt(std::size_t offset) const;
    void setNumberAt(std::size_t offset, std::int32_t value);
};

// Accepts a packet only when it holds a whole header with the magic, a length of 0..1024 and
// exactly that many payload bytes after the header. The message then holds it with the magic set.
bool readMessage(const std::uint8_t* packet, std::size_t size, NetMessage& message);

// The join of a player; the name is cut at 127 bytes.
NetMessage joinMessageFor(bool hidden, bool createdOnHost, const std::string& name);
// The name in a join payload: at most 127 bytes, ending at the first NUL.
std::string joinName(const NetMessage& join);
bool joinIsHidden(const NetMessage& join);

} // namespace tarvoke

#pragma once
// Builds firmware image files for tests, byte by byte, with a CRC-32/MPEG-2 of its own
// (bit by bit, no table) so that the image code is never checked against itself.

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "../common/TempFolder.h"

namespace imagetest {

using Bytes = std::vector<std::uint8_t>;

inline std::uint32_t BitCrc32(const Bytes& bytes, std::uint32_t crc = 0xFFFFFFFFu) {
  for (std::uint8_t b : bytes) {
    crc ^= std::uint32_t{b} << 24;
    for (int i = 0; i < 8; ++i) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

inline void Put24(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

inline void Put32(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  Put24(out, v);
}

inline void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

inline void AppendText(Bytes& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

inline std::uint8_t Sum8(const Bytes& bytes) {
  unsigned sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum);
}

// Body bytes that differ from position to position.
inline Bytes Pattern(std::size_t size, std::uint8_t seed = 0) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(i * 7 + seed + (i >> 8));
  return out;
}

inline void AppendCrc(Bytes& part) { Put32(part, BitCrc32(part)); }

// Version (8 characters), signature, then the type's own header fields; the checksum
// byte is added by the caller.
inline Bytes HeaderStart(std::string_view version, std::string_view signature) {
  Bytes h;
  AppendText(h, version);
  h.resize(8, ' ');
  AppendText(h, signature);
  return h;
}

inline Bytes MainPart(std::string_view version, const Bytes& a, const Bytes& b) {
  Bytes p = HeaderStart(version, "VEXOLA RXT4 Main");
  Put24(p, static_cast<std::uint32_t>(a.size()));
  Put24(p, static_cast<std::uint32_t>(b.size()));
  p.push_back(0x5A);  // not interpreted
  p.push_back(Sum8(p));
  Append(p, a);
  Append(p, b);
  AppendCrc(p);
  return p;
}

inline Bytes TsnmPart(std::string_view version, const Bytes& body) {
  Bytes p = HeaderStart(version, "VEXOLA RXT4 TSNM");
  Put24(p, static_cast<std::uint32_t>(body.size()));
  p.push_back(Sum8(p));
  Append(p, body);
  AppendCrc(p);
  return p;
}

// One Dec record: header (E, T, method), stored bytes, CRC over crcData.
inline Bytes DecRecord(const Bytes& stored, std::uint32_t expanded, std::uint8_t method, const Bytes& crcData) {
  Bytes r = {0xDE, 0xC0, 0x00, 0x01};  // not interpreted
  Put24(r, expanded);
  Put24(r, static_cast<std::uint32_t>(stored.size()));
  r.push_back(method);
  r.push_back(Sum8(r));
  Append(r, stored);
  Put32(r, BitCrc32(crcData));
  return r;
}

// A record stored as is.
inline Bytes StoredRecord(const Bytes& data) {
  return DecRecord(data, static_cast<std::uint32_t>(data.size()), 0xFF, data);
}

// A Dec part around records; endOverride replaces S when nonzero.
inline Bytes DecPart(std::string_view version, const Bytes& records, std::uint32_t endOverride = 0) {
  Bytes p = HeaderStart(version, "VEXOLA RXT4 Dec ");
  Put32(p, 0x11223344);  // not interpreted
  Put24(p, endOverride ? endOverride : static_cast<std::uint32_t>(32 + records.size()));
  p.push_back(Sum8(p));
  Append(p, records);
  AppendCrc(p);
  return p;
}

inline std::filesystem::path WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

inline Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace imagetest

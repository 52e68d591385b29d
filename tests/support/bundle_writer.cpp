#include "support/bundle_writer.h"

namespace kiv::test {

void PadToBlock(ByteList& bytes) {
  bytes.resize((bytes.size() + kBundleBlock - 1) / kBundleBlock * kBundleBlock, 0);
}

void AppendMark(ByteList& bytes) { bytes.insert(bytes.end(), {'K', 'i', 'v'}); }

void AppendLength(ByteList& bytes, std::int32_t length) {
  const auto value = static_cast<std::uint32_t>(length);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendPayload(ByteList& bytes, const ByteList& payload) {
  AppendLength(bytes, static_cast<std::int32_t>(payload.size()));
  bytes.insert(bytes.end(), payload.begin(), payload.end());
}

ByteList BuildBundle(const ByteList& launcher, const BundlePayloads& payloads) {
  ByteList bytes = launcher;
  PadToBlock(bytes);
  AppendMark(bytes);
  AppendPayload(bytes, payloads.installer);
  AppendPayload(bytes, payloads.package);
  AppendPayload(bytes, payloads.icon);
  AppendPayload(bytes, payloads.description);
  PadToBlock(bytes);
  return bytes;
}

}  // namespace kiv::test

#include "rxt4/link/FirmwareImage.h"

#include <new>

#include "rxt4/link/DecPart.h"
#include "rxt4/link/MainPart.h"
#include "rxt4/link/TsnmPart.h"

namespace rxt4 {
namespace {

std::unique_ptr<CFirmwarePart> MakePart(PartType type) {
  switch (type) {
    case PartType::Main: return std::make_unique<CMainPart>();
    case PartType::Tsnm: return std::make_unique<CTsnmPart>();
    case PartType::Dec: return std::make_unique<CDecPart>();
  }
  return nullptr;
}

}  // namespace

bool CFirmwareImage::Load(const std::filesystem::path& path) {
  for (auto& part : parts_) part.reset();
  fileError_.clear();
  CFirmwareFile file;
  if (!file.Open(path)) {
    fileError_ = file.error();
    return false;
  }
  try {
    for (PartType type : kPartTypes) {
      std::unique_ptr<CFirmwarePart> part = MakePart(type);
      switch (part->Load(file)) {
        case PartLoad::Loaded:
          parts_[static_cast<std::size_t>(Slot(type))] = std::move(part);
          break;
        case PartLoad::Absent:
          break;
        case PartLoad::Invalid:
          for (auto& p : parts_) p.reset();
          return false;
      }
    }
  } catch (const std::bad_alloc&) {
    for (auto& p : parts_) p.reset();
    return false;
  }
  // A file in which no part is recognised would make an update that sends nothing
  // and reports success: it is not an image.
  return !Empty();
}

int CFirmwareImage::Slot(PartType type) {
  for (std::size_t i = 0; i < kPartTypes.size(); ++i)
    if (kPartTypes[i] == type) return static_cast<int>(i);
  return -1;
}

const CFirmwarePart* CFirmwareImage::Part(PartType type) const {
  const int slot = Slot(type);
  return slot < 0 ? nullptr : parts_[static_cast<std::size_t>(slot)].get();
}

std::uint32_t CFirmwareImage::Size(PartType type) const {
  const CFirmwarePart* part = Part(type);
  return part ? part->Size() : 0;
}

bool CFirmwareImage::Version(PartType type, std::array<char, kVersionChars>& version) const {
  const CFirmwarePart* part = Part(type);
  if (!part) return false;
  version = part->Version();
  return true;
}

bool CFirmwareImage::Empty() const {
  for (const auto& part : parts_)
    if (part) return false;
  return true;
}

}  // namespace rxt4

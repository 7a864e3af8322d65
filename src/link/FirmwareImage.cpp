#include "rxt4/link/FirmwareImage.h"

#include <new>

#include "rxt4/link/DecPart.h"
#include "rxt4/link/LengthPart.h"

namespace rxt4 {
namespace {

std::unique_ptr<CFirmwarePart> MakePart(PartType type) {
  switch (type) {
    case PartType::Main: return std::make_unique<CLengthPart>(kMainLayout);
    case PartType::Tsnm: return std::make_unique<CLengthPart>(kTsnmLayout);
    case PartType::Dec: return std::make_unique<CDecPart>();
  }
  return nullptr;
}

}  // namespace

bool CFirmwareImage::Load(const std::filesystem::path& path) {
  for (auto& part : parts_) part.reset();
  fileError_.clear();
  fault_ = {};
  CFirmwareFile file;
  if (!file.Open(path)) {
    fileError_ = file.error();
    return Fail({ImageCheck::File});
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
          return Fail(part->Fault());
      }
    }
  } catch (const std::bad_alloc&) {
    return Fail({ImageCheck::NoMemory});
  }
  // A file in which no part is recognised would make an update that sends nothing
  // and reports success: it is not an image.
  if (Empty()) return Fail({ImageCheck::NoPart});
  return true;
}

bool CFirmwareImage::Fail(ImageFault fault) {
  for (auto& p : parts_) p.reset();
  fault_ = fault;
  return false;
}

std::string CFirmwareImage::FaultText(Language language) const {
  const ImageFault& f = fault_;
  if (f.check == ImageCheck::None) return {};
  if (f.check == ImageCheck::File) return fileError_;
  if (f.check == ImageCheck::NoMemory) return std::string(Text(StringId::ImageNoMemory, language));
  if (f.check == ImageCheck::NoPart) return std::string(Text(StringId::ImageNoPart, language));
  const std::string part(PartName(f.part));
  const std::string where = f.record > 0 ? FillIn(Text(StringId::ImageRecordWhere, language), {part, std::to_string(f.record)})
                                         : FillIn(Text(StringId::ImagePartWhere, language), {part});
  StringId what = StringId::ImageCrc;
  switch (f.check) {
    case ImageCheck::TooShort: what = StringId::ImageTooShort; break;
    case ImageCheck::Header: what = StringId::ImageHeaderSum; break;
    case ImageCheck::Length: what = f.record > 0 ? StringId::ImagePartLength : StringId::ImageFileLength; break;
    case ImageCheck::Crc: what = StringId::ImageCrc; break;
    case ImageCheck::None:
    case ImageCheck::File:
    case ImageCheck::NoMemory:
    case ImageCheck::NoPart: break;  // answered above
  }
  return FillIn(Text(what, language), {where});
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

#include "rxt4/link/UpdateText.h"

#include "rxt4/data/Sjis.h"
#include "rxt4/data/Strings.h"
#include "rxt4/data/TextRules.h"
#include "rxt4/link/FirmwareSendCommand.h"

namespace rxt4 {

int UpdateProgressTotal(const CFirmwareImage& image) {
  int total = 0;
  for (PartType type : kPartTypes) total += static_cast<int>(XmodemBlockCount(image.Size(type)));
  return total;
}

bool UpdateProgressSteps::Take(std::uint32_t block) {
  if (block == 0 || block == last_) return false;
  last_ = block;
  return true;
}

std::string TrimVersionText(std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  return std::string(TrimRight(text));
}

void UpdateVersionTexts::Take(std::string_view instrument, std::string_view file) {
  if (oldVersion.empty()) oldVersion = TrimVersionText(instrument);
  if (newVersion.empty()) newVersion = TrimVersionText(file);
}

std::string UpdateDoneText(std::string_view oldVersion, std::string_view newVersion) {
  return FillIn(Text(StringId::UpdateDone), {DecodeSjis(oldVersion), DecodeSjis(newVersion)});
}

std::string UpdateFinalText(LinkResult result, const UpdateVersionTexts& versions) {
  if (UpdateSucceeded(result)) return UpdateDoneText(versions.oldVersion, versions.newVersion);
  if (result == LinkResult::Cancelled) return std::string(Text(StringId::UpdateCancelled));
  return std::string(Text(StringId::LinkFailed));
}

}  // namespace rxt4

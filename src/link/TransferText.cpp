#include "rxt4/link/TransferText.h"

#include "rxt4/data/Kinds.h"
#include "rxt4/data/Strings.h"
#include "rxt4/link/BaudCheckCommand.h"
#include "rxt4/link/ConnectCommand.h"

namespace rxt4 {

std::string TransferFinalText(LinkResult result, int value) {
  switch (result) {
    case LinkResult::Success:
      return std::string(Text(StringId::TransferDone));
    case LinkResult::Cancelled:
      return std::string(Text(StringId::TransferCancelled));
    case LinkResult::NotSaved: {
      std::string names;
      for (TransferKind k : kAllTransferKinds) {
        if ((value & (1 << static_cast<int>(k))) == 0) continue;
        if (!names.empty()) names += "、";
        names += KindFolderName(k);
      }
      return FillIn(Text(StringId::TransferNotSaved), {names});
    }
    default:
      break;
  }
  if (value == CConnectCommand::kRequestCode || value == CBaudCheckCommand::kRequestCode)
    return std::string(Text(StringId::TransferNoInstrument));
  return std::string(Text(StringId::LinkFailed));
}

std::string TransferRatesText(LinkResult result, int value, int portRate, std::uint32_t instrumentRate) {
  const bool rateCheckFailed = result != LinkResult::Success && result != LinkResult::Cancelled &&
                               result != LinkResult::NotSaved && value == CBaudCheckCommand::kRequestCode;
  if (!rateCheckFailed || instrumentRate == 0 || instrumentRate == static_cast<std::uint32_t>(portRate)) return {};
  return FillIn(Text(StringId::TransferRates), {std::to_string(portRate), std::to_string(instrumentRate)});
}

std::string TransferFolderText(const std::filesystem::path& folder, std::string_view reason) {
  return FillIn(Text(StringId::TransferFolderUnwritable), {folder.string(), reason});
}

}  // namespace rxt4

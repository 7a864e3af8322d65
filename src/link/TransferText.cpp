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
    case LinkResult::FolderRefused:
      return std::string(Text(StringId::TransferSaveFailed));
    case LinkResult::PortOpenFailed:
    case LinkResult::EmptyEntry:
    case LinkResult::SetupFailed:
    case LinkResult::SendFailed:
    case LinkResult::WaitFailed:
    case LinkResult::ReplyFailed:
    case LinkResult::ImagePartMissing:
      break;
  }
  if (value == CConnectCommand::kRequestCode || value == CBaudCheckCommand::kRequestCode)
    return std::string(Text(StringId::TransferNoInstrument));
  return std::string(Text(StringId::LinkFailed));
}

std::string TransferRatesText(LinkResult result, int value, int portRate, std::uint32_t instrumentRate) {
  const bool rateCheckFailed = result != LinkResult::Success && result != LinkResult::Cancelled &&
                               result != LinkResult::NotSaved && result != LinkResult::FolderRefused &&
                               value == CBaudCheckCommand::kRequestCode;
  if (!rateCheckFailed || instrumentRate == 0 || instrumentRate == static_cast<std::uint32_t>(portRate)) return {};
  return FillIn(Text(StringId::TransferRates), {std::to_string(portRate), std::to_string(instrumentRate)});
}

std::string TransferFolderText(const DownloadFolder::Problem& problem) {
  if (problem.busy) return FillIn(Text(StringId::TransferFolderBusy), {problem.folder.string()});
  if (!problem.reason) return {};
  return FillIn(Text(StringId::TransferFolderUnwritable), {problem.folder.string(), ReasonText(problem.reason)});
}

}  // namespace rxt4

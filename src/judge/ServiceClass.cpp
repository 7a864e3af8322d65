#include "rxt4/judge/ServiceClass.h"

#include "rxt4/data/Columns.h"
#include "rxt4/data/Strings.h"
#include "FieldText.h"

namespace rxt4 {
namespace {

// Band numbers below this are the satellite bands (the instrument's band class rule).
constexpr long long kFirstTerrestrialBand = 26;

// The instrument's screen types (column 20).
enum ScreenType : long long {
  kTerrestrial = 0,
  kOneSeg = 1,
  kBsScreen = 2,
  kE2Sky = 3,
  kSkyPerfectLevel = 4,
  kSkyPerfectCn = 6,
  kVuCatv = 7,
  kVuCatvLevel = 8,
  kOtherSatellite = 9,
  kOtherSatelliteCn = 10,
};

}  // namespace

ServiceClass ClassOfRow(const std::array<std::string_view, MeasurementRow::kColumnCount>& fields) {
  auto field = [&](Column c) { return judge::Trimmed(fields[static_cast<std::size_t>(Index(c))]); };
  // The instrument's own texts, looked up once.
  static const std::string_view kAnalog = Text(StringId::Analog, Language::Japanese);
  static const std::string_view kBs = Text(StringId::SatBs, Language::Japanese);
  static const std::string_view kNsat110 = Text(StringId::SatNsat110, Language::Japanese);
  const std::string_view modulation = field(Column::Modulation);
  if (modulation == kAnalog) return ServiceClass::Analogue;
  long long bandNumber = 0, screenType = 0;
  if (!judge::ReadCode(field(Column::BandNumber), bandNumber) || !judge::ReadCode(field(Column::ScreenType), screenType))
    return ServiceClass::Unplaced;
  const bool satelliteBand = bandNumber < kFirstTerrestrialBand;
  switch (screenType) {
    case kTerrestrial: return satelliteBand ? ServiceClass::Unplaced : ServiceClass::Terrestrial;
    case kOneSeg: return satelliteBand ? ServiceClass::Unplaced : ServiceClass::OneSeg;
    case kBsScreen: return satelliteBand ? ServiceClass::Bs : ServiceClass::Unplaced;
    case kE2Sky: return satelliteBand ? ServiceClass::Cs110 : ServiceClass::Unplaced;
    case kVuCatv:
    case kVuCatvLevel:
      if (satelliteBand) return ServiceClass::Unplaced;
      if (modulation == "OFDM") return ServiceClass::Terrestrial;
      if (modulation == "64QAM" || modulation == "256QAM") return ServiceClass::Cable;
      return ServiceClass::Unplaced;
    case kOtherSatellite:
    case kOtherSatelliteCn: {
      if (!satelliteBand) return ServiceClass::Unplaced;
      const std::string_view name = field(Column::BandName);
      if (name == kBs) return ServiceClass::Bs;
      if (name == kNsat110) return ServiceClass::Cs110;
      return name.empty() ? ServiceClass::Unplaced : ServiceClass::OtherCs;
    }
    default:
      if (screenType >= kSkyPerfectLevel && screenType <= kSkyPerfectCn)
        return satelliteBand ? ServiceClass::OtherCs : ServiceClass::Unplaced;
      return ServiceClass::Unplaced;
  }
}

std::string_view ServiceClassName(ServiceClass c, Language language) {
  switch (c) {
    case ServiceClass::Terrestrial: return Text(StringId::ClassTerrestrial, language);
    case ServiceClass::OneSeg: return Text(StringId::ClassOneSeg, language);
    case ServiceClass::Bs: return Text(StringId::ClassBs, language);
    case ServiceClass::Cs110: return Text(StringId::ClassCs110, language);
    case ServiceClass::OtherCs: return Text(StringId::ClassOtherCs, language);
    case ServiceClass::Cable: return Text(StringId::ClassCable, language);
    case ServiceClass::Analogue: return Text(StringId::ClassAnalogue, language);
    case ServiceClass::Unplaced: return Text(StringId::ClassUnplaced, language);
  }
  return {};
}

std::string_view ServiceClassKey(ServiceClass c) {
  switch (c) {
    case ServiceClass::Terrestrial: return "terrestrial";
    case ServiceClass::OneSeg: return "oneseg";
    case ServiceClass::Bs: return "bs";
    case ServiceClass::Cs110: return "cs110";
    case ServiceClass::OtherCs: return "other_cs";
    case ServiceClass::Cable: return "cable";
    case ServiceClass::Analogue: return "analogue";
    case ServiceClass::Unplaced: return "unplaced";
  }
  return {};
}

}  // namespace rxt4

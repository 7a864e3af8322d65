#pragma once
// A hand-built data folder of four visits to one installation, the terrestrial
// channel 27 adjusted between them, for the trend and compare tests (judge library,
// command line and viewer). Under the テレビ端子 profile (terrestrial level 50〜81
// dBμV, margin 3 dB; C/N at least 24 dB):
//   0412  level ch 27 45.5 (不合格), ch 16 60.0; BER ch 27 C/N 20.5 (不合格)
//   0413  level ch 27 52.0 (注意, within 3 dB of 50)
//   0420  level ch 16 61.0 only: channel 27 not measured
//   0501  level ch 27 58.0 (合格); BER ch 27 C/N 30.5 (合格)
//   0502  level ch 27 below the meter's range (不合格)

#include <string>
#include <vector>

#include "../common/TempFolder.h"

namespace rxt4::test {

// A terrestrial row (screen type 0, band number 30, OFDM) on a UHF channel.
inline std::string TerrestrialRow(const char* no, const char* channel, const char* level, const char* cn = "",
                                  const char* ber = "") {
  std::vector<std::string> f(30);
  f[0] = no;
  f[1] = "home";
  f[2] = "UHF";
  f[3] = channel;
  f[6] = level;
  f[7] = cn;
  f[8] = "OFDM";
  f[14] = "30";
  f[20] = "0";
  f[21] = ber;
  std::string line;
  for (std::size_t i = 0; i < f.size(); ++i) line += (i ? "," : "") + f[i];
  return line + "\n";
}

// A kind folder's table and count file.
inline void PutTable(const TempFolder& d, const std::string& set, const std::string& kind,
                     const std::vector<std::string>& rows) {
  std::string table = "h\n";
  for (const std::string& r : rows) table += r;
  d.Put(set + "/" + kind + "/" + set + ".CSV", table);
  d.Put(set + "/" + kind + "/" + set + ".cnt", std::to_string(rows.size()) + "\n2.00");
}

inline void PutVisits(const TempFolder& d) {
  PutTable(d, "0412", "LEVEL", {TerrestrialRow("1", "27", "45.5"), TerrestrialRow("2", "16", "60.0")});
  PutTable(d, "0412", "BER", {TerrestrialRow("1", "27", "", "20.5", "1.0E-5")});
  PutTable(d, "0413", "LEVEL", {TerrestrialRow("1", "27", "52.0")});
  PutTable(d, "0420", "LEVEL", {TerrestrialRow("1", "16", "61.0")});
  PutTable(d, "0501", "LEVEL", {TerrestrialRow("1", " 27", "58.0")});
  PutTable(d, "0501", "BER", {TerrestrialRow("1", "27", "", "30.5", "2.0E-6")});
  PutTable(d, "0502", "LEVEL", {TerrestrialRow("1", "27", "___._")});
}

}  // namespace rxt4::test

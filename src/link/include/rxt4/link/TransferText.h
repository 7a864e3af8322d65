#pragma once
// The texts of a data transfer's end, shared by the transfer dialog and the command line.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "rxt4/data/DownloadFolder.h"
#include "rxt4/link/LinkResult.h"

namespace rxt4 {

// The final message (UTF-8) for a transfer's result and value:
// Success "データ転送が完了しました。"; Cancelled "データ転送を中止しました。";
// NotSaved the not-saved text naming the kind folders of the value's bit mask;
// FolderRefused "データを保存できませんでした。";
// any other result with value 0x20 or 0x23 "RXT4との接続が確認できません。";
// anything else "通信に失敗しました。\nRXT4との接続を確認してください。".
std::string TransferFinalText(LinkResult result, int value);

// The line under the final message when a folder refused the files (FolderRefused,
// NotSaved): "保存先のフォルダに書き込めません: <folder>（<the reason in words>）", or
// for a set folder another download holds "保存先のフォルダには別のデータ転送が書き込んで
// います: <folder>". Empty when there was no such problem.
std::string TransferFolderText(const DownloadFolder::Problem& problem);

// The line under "RXT4との接続が確認できません。" when the rate check failed because the
// instrument runs at another rate: "通信速度が一致しません（PC: <portRate> bps、RXT4:
// <instrumentRate> bps）". Empty for any other end, and when the instrument gave no rate.
std::string TransferRatesText(LinkResult result, int value, int portRate, std::uint32_t instrumentRate);

// True when the result counts as a completed transfer (only Success).
constexpr bool TransferSucceeded(LinkResult result) { return result == LinkResult::Success; }

// Progress bar position (0..700) for a kind's percentage.
constexpr int TransferProgressPosition(int kind, int percent) { return kind * 100 + percent; }

}  // namespace rxt4

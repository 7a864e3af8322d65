#pragma once
// What identifies a set folder wherever it lies: a digest of the files the instrument
// wrote into it, and when they were written.
//
// The digest covers every regular file of the set folder's kind folders (LEVEL, BER,
// ..., found regardless of letter case), in the order of their paths inside the set
// folder with ASCII letters in lower case: each path, and for a measurement table or
// count file its length and bytes. A companion file (NAME.001, ...) counts by its name
// alone: the rows of the tables (times, names, readings) already tell two downloads
// apart, and reading the graphs, most of a set folder's bytes, would cost more than
// the rest of an export.
// The set folder's own name is part of those paths (0412/LEVEL/0412.CSV), the place
// the set folder lies in is not: the same download copied to two places has one
// set_id, two downloads that both happen to be called "0412" have two. Anything else
// in the set folder (a job record, a note a user put there) is left out, so that
// editing the job keeps the id.

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

namespace rxt4 {

struct SetDigest {
  std::string id;            // the first 16 hexadecimal digits (lower case) of the SHA-256 digest
  std::time_t newest = 0;    // the latest modification time of the files read (0 when there is none);
                             // a download writes each kind's count file last
  std::uint64_t bytes = 0;   // the bytes read
  int files = 0;
};

// Reads the files of the set folder at setFolder (its name is the last component).
// Nothing, with error (the file and the reason), when a file or folder cannot be
// read; a set folder without kind folders has the digest of nothing.
std::optional<SetDigest> DigestSetFolder(const std::filesystem::path& setFolder, std::string& error);

// A time as the export writes it: local time, "YYYY-MM-DD HH:MM:SS".
std::string LocalTimeText(std::time_t t);

}  // namespace rxt4

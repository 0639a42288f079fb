#pragma once
// The twenty data files, each named by a three-letter file code: file name, record size,
// directory, kind and the error text shown when it cannot be opened.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace tallymoor {

// In the fixed opening order.
enum class FileCode {
  SYS,
  FLG,
  IFS,
  INS,
  GLA,
  GLC,
  JVO,
  FRZ,
  CUS,
  SUP,
  ADM,
  ADS,
  PAY,
  INV,
  JVT,
  HEN,
  RAP,
  LAN,
  USE,
  FIX
};
inline constexpr std::size_t kFileCodeCount = 20;

enum class FileDirectory { Start, BaseData, Administration, CallerNamed };
enum class FileKind { Record, Text };

struct FileSpec {
  FileCode code;
  std::string_view codeText;  // "SYS"
  std::string_view fileName;  // empty for the text files, whose name the caller sets
  std::size_t recordSize;     // 0 for the text files
  FileDirectory directory;
  FileKind kind;
  std::string_view errorText;  // followed directly by the error code
};

const std::array<FileSpec, kFileCodeCount>& fileRegistry();
const FileSpec& fileSpec(FileCode code);
// The code named by a three-letter text, exactly as written ("GLA"); none for anything else.
std::optional<FileCode> fileCodeFromText(std::string_view text);

// The closing order: the opening order backwards.
const std::array<FileCode, kFileCodeCount>& closingOrder();

}  // namespace tallymoor

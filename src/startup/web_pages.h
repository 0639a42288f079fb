#pragma once
// The program's own web pages, one per language of the help texts.

#include <string>

namespace tallymoor {

// The home page for a language name: Dutch and German pages, English for any other.
inline std::string webPageForLanguage(const std::string& language) {
  if (language == "Nederlands") return "https://tallymoor.example/nl/";
  if (language == "Deutsch") return "https://tallymoor.example/de/";
  return "https://tallymoor.example/en/";
}

// The news page for a language name.
inline std::string newsPageForLanguage(const std::string& language) {
  return webPageForLanguage(language) + "news";
}

}  // namespace tallymoor

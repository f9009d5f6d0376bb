// JSON Lines by hand: the trace must be byte-identical between runs, so every number
// and string has exactly one spelling.
#include "trace_writer.h"

#include <cmath>
#include <cstdio>

namespace kit {

namespace {

// Written out in pieces of about this size.
constexpr std::size_t kSpillAt = 1U << 20U;

void Escape(std::string& out, char32_t code) {
  static const char* const kHex = "0123456789abcdef";
  switch (code) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default:
      break;
  }
  if (code < 0x20 || code == 0x7F) {
    out += "\\u00";
    out += kHex[(code >> 4U) & 0xFU];
    out += kHex[code & 0xFU];
  } else if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0U | (code >> 6U));
    out += static_cast<char>(0x80U | (code & 0x3FU));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0U | (code >> 12U));
    out += static_cast<char>(0x80U | ((code >> 6U) & 0x3FU));
    out += static_cast<char>(0x80U | (code & 0x3FU));
  } else {
    out += static_cast<char>(0xF0U | (code >> 18U));
    out += static_cast<char>(0x80U | ((code >> 12U) & 0x3FU));
    out += static_cast<char>(0x80U | ((code >> 6U) & 0x3FU));
    out += static_cast<char>(0x80U | (code & 0x3FU));
  }
}

}  // namespace

std::string TraceWriter::Quote(std::string_view utf8) {
  std::string out = "\"";
  for (const char character : utf8) {
    const auto c = static_cast<unsigned char>(character);
    if (c < 0x80) {
      Escape(out, c);
    } else {
      out += static_cast<char>(c);  // already UTF-8: the caller's text passes as it is
    }
  }
  return out + "\"";
}

std::string TraceWriter::Quote(std::u16string_view utf16) {
  std::string out = "\"";
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t code = utf16[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10U) + (utf16[i + 1] - 0xDC00U);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    Escape(out, code);
  }
  return out + "\"";
}

TraceWriter& TraceWriter::Begin(std::string_view event) {
  if (open_) {
    End();
  }
  text_ += "{\"ev\":";
  text_ += Quote(event);
  open_ = true;
  return *this;
}

void TraceWriter::Key(std::string_view key) {
  text_ += ',';
  text_ += Quote(key);
  text_ += ':';
}

TraceWriter& TraceWriter::Field(std::string_view key, std::int64_t value) {
  Key(key);
  text_ += std::to_string(value);
  return *this;
}

TraceWriter& TraceWriter::Field(std::string_view key, double value) {
  Key(key);
  if (!std::isfinite(value)) {
    text_ += "null";
    return *this;
  }
  char buffer[32];
  (void)std::snprintf(buffer, sizeof buffer, "%.17g", value);  // 17 digits and an exponent fit
  text_ += buffer;
  return *this;
}

TraceWriter& TraceWriter::Field(std::string_view key, std::string_view utf8) {
  Key(key);
  text_ += Quote(utf8);
  return *this;
}

TraceWriter& TraceWriter::Field(std::string_view key, std::u16string_view utf16) {
  Key(key);
  text_ += Quote(utf16);
  return *this;
}

TraceWriter& TraceWriter::Field(std::string_view key, bool value) {
  Key(key);
  text_ += value ? "true" : "false";
  return *this;
}

TraceWriter& TraceWriter::Raw(std::string_view key, std::string_view json) {
  Key(key);
  text_ += json;
  return *this;
}

void TraceWriter::End() {
  if (open_) {
    text_ += "}\n";
    open_ = false;
  }
  if (discard_) {
    text_.clear();
  } else if (out_.IsOpen() && text_.size() >= kSpillAt) {
    Spill();
  }
}

void TraceWriter::Spill() {
  if (!text_.empty() && failure_.empty()) {
    out_.Write(text_, failure_);
  }
  text_.clear();
}

bool TraceWriter::StreamTo(const std::filesystem::path& file, std::string& error, const std::filesystem::path* input) {
  return out_.Open(file, "the trace", error, input);
}

bool TraceWriter::Finish(std::string& error) {
  if (!out_.IsOpen()) {
    error = "the trace was never opened";
    return false;
  }
  if (open_) {
    text_ += "}\n";
    open_ = false;
  }
  Spill();
  if (!failure_.empty()) {
    error = failure_;
    out_.Commit(failure_);  // only to remove the temporary
    return false;
  }
  return out_.Commit(error);
}

bool TraceWriter::WriteTo(const std::filesystem::path& file, std::string& error) {
  const std::string kept = text_;
  if (!StreamTo(file, error)) {
    return false;
  }
  const bool written = Finish(error);
  text_ = kept;
  return written;
}

}  // namespace kit

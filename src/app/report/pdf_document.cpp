#include "app/report/pdf_document.h"

#include <zlib.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <stdexcept>

namespace app {

PdfDocument::PdfDocument(const std::string& path)
    : path_(path), file_(std::fopen(path.c_str(), "wb")), buffer_(1 << 20) {
  if (file_ == nullptr) {
    throw std::runtime_error("Cannot create file " + path + ". " + std::strerror(errno));
  }
  std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
  Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

PdfDocument::~PdfDocument() {
  if (file_ != nullptr) std::fclose(file_);
}

void PdfDocument::Write(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    throw std::runtime_error("Cannot write file " + path_ + ". " + std::strerror(errno));
  }
  offset_ += static_cast<long>(bytes.size());
}

int PdfDocument::Reserve() {
  offsets_.push_back(-1);
  return static_cast<int>(offsets_.size() - 1);
}

void PdfDocument::Object(int id, std::string_view body) {
  offsets_.at(static_cast<size_t>(id)) = offset_;
  Write(std::to_string(id) + " 0 obj\n");
  Write(body);
  Write("\nendobj\n");
}

void PdfDocument::Stream(int id, std::string_view dictionary_entries, std::string_view data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  compressed_.resize(size);
  if (compress2(reinterpret_cast<Bytef*>(compressed_.data()), &size,
                reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()),
                kCompression) != Z_OK) {
    throw std::runtime_error("Cannot write file " + path_ + ". Compression failed");
  }
  offsets_.at(static_cast<size_t>(id)) = offset_;
  Write(std::to_string(id) + " 0 obj\n<<");
  Write(dictionary_entries);
  Write("/Filter/FlateDecode/Length " + std::to_string(size) + ">>\nstream\n");
  Write(std::string_view(compressed_.data(), size));
  Write("\nendstream\nendobj\n");
}

void PdfDocument::Finish(int root, int info) {
  const long xref = offset_;
  Write("xref\n0 " + std::to_string(offsets_.size()) + "\n0000000000 65535 f \n");
  char entry[32];
  for (size_t id = 1; id < offsets_.size(); ++id) {
    if (offsets_[id] < 0) throw std::logic_error("PDF object " + std::to_string(id) + " missing");
    std::snprintf(entry, sizeof entry, "%010ld 00000 n \n", offsets_[id]);
    Write(std::string_view(entry, 20));
  }
  Write("trailer\n<</Size " + std::to_string(offsets_.size()) + "/Root " + std::to_string(root) +
        " 0 R/Info " + std::to_string(info) + " 0 R>>\nstartxref\n" + std::to_string(xref) +
        "\n%%EOF\n");
  std::FILE* file = file_;
  file_ = nullptr;
  if (std::fclose(file) != 0) {
    throw std::runtime_error("Cannot write file " + path_ + ". " + std::strerror(errno));
  }
}

void AppendPdfString(std::string& out, std::string_view bytes) {
  out += '(';
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '(' || c == ')' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      // Line ends inside a literal string would be read as LF.
      const char octal[4] = {'\\', static_cast<char>('0' + (byte >> 6)),
                             static_cast<char>('0' + (byte >> 3 & 7)),
                             static_cast<char>('0' + (byte & 7))};
      out.append(octal, 4);
    } else {
      out += c;
    }
  }
  out += ')';
}

void AppendHundredths(std::string& out, long hundredths) {
  if (hundredths < 0) {
    out += '-';
    hundredths = -hundredths;
  }
  char digits[24];
  const long whole = hundredths / 100;
  const long fraction = hundredths % 100;
  if (whole != 0 || fraction == 0) {
    out.append(digits, std::to_chars(digits, digits + sizeof digits, whole).ptr);
  }
  if (fraction != 0) {
    out += '.';
    out += static_cast<char>('0' + fraction / 10);
    if (fraction % 10 != 0) out += static_cast<char>('0' + fraction % 10);
  }
}

}  // namespace app

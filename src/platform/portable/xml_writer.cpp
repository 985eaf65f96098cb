#include "platform/portable/xml_writer.h"

#include <algorithm>

#include "platform/portable/utf8.h"

namespace lv {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Names without a prefix, as XmlLite takes them: ASCII exactly by the XML rules, other
// letters accepted broadly.
bool IsName(std::u16string_view name) {
    if (name.empty()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t c = name[i];
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' ||
                            (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c < 0xFFFE);
        const bool other = (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' || c == 0xB7;
        if (!letter && !(i > 0 && other)) return false;
        if (IsHighSurrogate(c) && (i + 1 == name.size() || !IsLowSurrogate(name[i + 1]))) return false;
        if (IsLowSurrogate(c) && (i == 0 || !IsHighSurrogate(name[i - 1]))) return false;
    }
    return true;
}

}  // namespace

std::u16string XmlSafeText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            out += c;
            out += text[++i];
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF) {
            out += kReplacement;
        } else {
            out += c < 0x20 ? u' ' : c;
        }
    }
    return out;
}

bool SimpleXmlWriter::Fail() {
    failed_ = true;
    return false;
}

void SimpleXmlWriter::CloseStartTag() {
    if (!startTagOpen_) return;
    out_ += '>';
    startTagOpen_ = false;
    attributes_.clear();
}

void SimpleXmlWriter::BreakLine() {
    if (!out_.empty()) out_ += lineBreak_ == LineBreak::CrLf ? "\r\n" : "\n";
    out_.append(2 * open_.size(), ' ');
}

bool SimpleXmlWriter::StartDocument() {
    if (!out_.empty() || rootWritten_) return Fail();
    out_ = R"(<?xml version="1.0" encoding="UTF-8"?>)";
    return true;
}

bool SimpleXmlWriter::StartElement(std::u16string_view name) {
    if (!IsName(name) || (rootWritten_ && open_.empty())) return Fail();
    CloseStartTag();
    BreakLine();
    open_.push_back(Utf8FromUtf16(name));
    out_ += '<';
    out_ += open_.back();
    startTagOpen_ = true;
    rootWritten_ = true;
    return true;
}

bool SimpleXmlWriter::WriteAttribute(std::u16string_view name, std::u16string_view value) {
    if (!startTagOpen_ || !IsName(name) ||
        std::find(attributes_.begin(), attributes_.end(), name) != attributes_.end())
        return Fail();
    attributes_.emplace_back(name);
    out_ += ' ';
    out_ += Utf8FromUtf16(name);
    out_ += "=\"";
    for (const char c : Utf8FromUtf16(XmlSafeText(value))) {
        switch (c) {
            case '&': out_ += "&amp;"; break;
            case '<': out_ += "&lt;"; break;
            case '>': out_ += "&gt;"; break;
            case '"': out_ += "&quot;"; break;
            default: out_ += c;
        }
    }
    out_ += '"';
    return true;
}

bool SimpleXmlWriter::WriteFullEndElement() {
    if (open_.empty()) return Fail();
    const std::string name = std::move(open_.back());
    open_.pop_back();
    if (startTagOpen_) {
        CloseStartTag();
    } else {
        BreakLine();
    }
    out_ += "</" + name + ">";
    return true;
}

bool SimpleXmlWriter::WriteWhitespace(std::u16string_view whitespace) {
    const bool blank = std::all_of(whitespace.begin(), whitespace.end(),
                                   [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; });
    if (!blank) return Fail();
    CloseStartTag();
    out_ += Utf8FromUtf16(whitespace);
    return true;
}

bool SimpleXmlWriter::EndDocument(std::string& document) {
    while (!open_.empty()) {
        const std::string name = std::move(open_.back());
        open_.pop_back();
        if (startTagOpen_) {
            out_ += " />";
            startTagOpen_ = false;
        } else {
            BreakLine();
            out_ += "</" + name + ">";
        }
    }
    const bool ok = !failed_ && rootWritten_;
    if (ok) document = std::move(out_);
    *this = SimpleXmlWriter(lineBreak_);
    return ok;
}

}  // namespace lv

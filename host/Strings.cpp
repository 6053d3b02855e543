// The operations every string list shares.
#include "vorn/host/Strings.h"

#include <string>

#include "vorn/host/Exceptions.h"
#include "vorn/host/FileStream.h"
#include "vorn/host/Filer.h"
#include "vorn/host/TextUtils.h"

namespace vorn {
namespace {

// Ends the update bracket on every path.
class UpdateScope {
 public:
  explicit UpdateScope(TStrings& strings) : strings_(strings) { strings_.BeginUpdate(); }
  ~UpdateScope() { strings_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TStrings& strings_;
};

}  // namespace

int TStrings::Add(const std::string& text) {
  return AddObject(text, nullptr);
}

int TStrings::AddObject(const std::string& text, TObject* object) {
  int index = Count();
  InsertObject(index, text, object);
  return index;
}

void TStrings::AddStrings(const TStrings& strings) {
  UpdateScope scope(*this);
  for (int i = 0; i < strings.Count(); ++i)
    AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::InsertObject(int index, const std::string& text, TObject* object) {
  Insert(index, text);
  PutObject(index, object);
}

void TStrings::Exchange(int index1, int index2) {
  UpdateScope scope(*this);
  std::string text = Get(index1);
  TObject* object = GetObject(index1);
  Put(index1, Get(index2));
  PutObject(index1, GetObject(index2));
  Put(index2, text);
  PutObject(index2, object);
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  if (newIndex < 0 || newIndex >= Count()) IndexError(newIndex);
  UpdateScope scope(*this);
  std::string text = Get(curIndex);
  TObject* object = GetObject(curIndex);
  Delete(curIndex);
  InsertObject(newIndex, text, object);
}

int TStrings::IndexOf(std::string_view text) const {
  for (int i = 0; i < Count(); ++i) {
    if (CompareStrings(Get(i), text) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string text = Get(i);
    size_t separator = text.find(nameValueSeparator_);
    if (separator != std::string::npos &&
        CompareStrings(std::string_view(text).substr(0, separator), name) == 0) {
      return i;
    }
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  for (int i = 0; i < Count(); ++i) {
    if (GetObject(i) == object) return i;
  }
  return -1;
}

bool TStrings::Equals(const TStrings& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i) {
    if (Get(i) != other.Get(i)) return false;
  }
  return true;
}

std::string TStrings::Names(int index) const {
  std::string text = Get(index);
  size_t separator = text.find(nameValueSeparator_);
  return separator == std::string::npos ? std::string() : text.substr(0, separator);
}

std::string TStrings::ValueFromIndex(int index) const {
  std::string text = Get(index);
  size_t separator = text.find(nameValueSeparator_);
  return separator == std::string::npos ? std::string() : text.substr(separator + 1);
}

std::string TStrings::Values(std::string_view name) const {
  int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(std::string_view name, const std::string& value) {
  int index = IndexOfName(name);
  std::string pair = std::string(name) + nameValueSeparator_ + value;
  if (!value.empty()) {
    if (index < 0) {
      Add(pair);
    } else {
      Put(index, pair);
    }
  } else if (index >= 0) {
    Delete(index);
  }
}

std::string TStrings::Text() const {
  std::string text;
  for (int i = 0; i < Count(); ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  UpdateScope scope(*this);
  Clear();
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    Add(std::string(text.substr(pos, end - pos)));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
}

std::string TStrings::DelimitedText() const {
  if (Count() == 1 && Get(0).empty()) return std::string(2, quoteChar_);
  std::string result;
  for (int i = 0; i < Count(); ++i) {
    std::string text = Get(i);
    bool quote = false;
    for (char c : text) {
      if (static_cast<unsigned char>(c) <= ' ' || c == delimiter_ || c == quoteChar_) {
        quote = true;
        break;
      }
    }
    if (i > 0) result += delimiter_;
    result += quote ? AnsiQuotedStr(text, quoteChar_) : text;
  }
  return result;
}

void TStrings::SetDelimitedText(std::string_view text) {
  UpdateScope scope(*this);
  Clear();
  auto blank = [&](size_t i) {
    return i < text.size() && text[i] != '\0' && static_cast<unsigned char>(text[i]) <= ' ';
  };
  size_t i = 0;
  while (blank(i))
    ++i;
  while (i < text.size()) {
    std::string item;
    if (text[i] == quoteChar_) {
      // A quoted item ends at the first single quote character; doubled
      // quote characters stand for one.
      ++i;
      while (i < text.size()) {
        if (text[i] == quoteChar_) {
          if (i + 1 < text.size() && text[i + 1] == quoteChar_) {
            item += quoteChar_;
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        item += text[i++];
      }
    } else {
      size_t start = i;
      while (i < text.size() && static_cast<unsigned char>(text[i]) > ' ' &&
             text[i] != delimiter_) {
        ++i;
      }
      item = std::string(text.substr(start, i - start));
    }
    Add(item);
    while (blank(i))
      ++i;
    if (i < text.size() && text[i] == delimiter_) {
      if (i + 1 == text.size()) Add(std::string());
      do {
        ++i;
      } while (blank(i));
    }
  }
}

std::string TStrings::CommaText() const {
  if (delimiter_ == ',' && quoteChar_ == '"') return DelimitedText();
  TStrings& self = const_cast<TStrings&>(*this);
  char delimiter = delimiter_, quote = quoteChar_;
  self.delimiter_ = ',';
  self.quoteChar_ = '"';
  std::string text = DelimitedText();
  self.delimiter_ = delimiter;
  self.quoteChar_ = quote;
  return text;
}

void TStrings::SetCommaText(std::string_view text) {
  char delimiter = delimiter_, quote = quoteChar_;
  delimiter_ = ',';
  quoteChar_ = '"';
  try {
    SetDelimitedText(text);
  } catch (...) {
    delimiter_ = delimiter;
    quoteChar_ = quote;
    throw;
  }
  delimiter_ = delimiter;
  quoteChar_ = quote;
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ == 0) return;
  --updateCount_;
  if (updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* source) {
  const auto* strings = dynamic_cast<const TStrings*>(source);
  if (!strings) {
    TPersistent::Assign(source);
    return;
  }
  if (strings == this) return;
  UpdateScope scope(*this);
  Clear();
  nameValueSeparator_ = strings->nameValueSeparator_;
  delimiter_ = strings->delimiter_;
  quoteChar_ = strings->quoteChar_;
  AddStrings(*strings);
}

void TStrings::SaveToStream(TStream& stream) const {
  std::string text = Text();
  stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::LoadFromStream(TStream& stream) {
  int64_t size = stream.Size() - stream.Position();
  std::string text(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  if (!text.empty()) stream.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  SetText(text);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TStrings::Put(int index, const std::string& text) {
  TObject* object = GetObject(index);
  UpdateScope scope(*this);
  Delete(index);
  InsertObject(index, text, object);
}

TObject* TStrings::GetObject(int) const {
  return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
  return AnsiCompareText(a, b);
}

void TStrings::DefineProperties(TFiler& filer) {
  bool store = Count() > 0;
  if (TPersistent* ancestor = filer.Ancestor()) {
    auto* strings = dynamic_cast<TStrings*>(ancestor);
    store = strings == nullptr || !Equals(*strings);
  }
  filer.DefineProperty(
      "Strings",
      [this](TReader& reader) {
        reader.ReadListBegin();
        UpdateScope scope(*this);
        Clear();
        while (!reader.EndOfList())
          Add(reader.ReadString());
        reader.ReadListEnd();
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (int i = 0; i < Count(); ++i)
          writer.WriteString(Get(i));
        writer.WriteListEnd();
      },
      store);
}

void TStrings::IndexError(int index) {
  throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace vorn

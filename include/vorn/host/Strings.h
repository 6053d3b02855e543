// TStrings: the host's abstract list of strings, each with an associated
// object pointer (or integer tag, in the same slot), and the operations every
// string list shares: name=value pairs, Text, CommaText, update brackets,
// streams and files. TStringList (StringList.h) is the concrete list.
//
// Text joins the strings with "\r\n" after every one; setting it splits at
// CR LF, LF or CR, and a last line without a break still counts. CommaText
// (DelimitedText with ',' and '"') quotes strings holding blanks, control
// characters, the delimiter or the quote; setting it splits at the
// delimiter and at blanks outside quotes.
//
// Strings compare with CompareStrings: AnsiCompareText here; TStringList
// follows its CaseSensitive property. Names before the first
// NameValueSeparator ('=') compare the same way.
//
// BeginUpdate/EndUpdate nest; the outermost pair calls SetUpdateState(true)
// and SetUpdateState(false). Index errors raise EStringListError (an
// EListError) "List index out of bounds (i)".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vorn/host/Persistent.h"

namespace vorn {

class TStream;

class TStrings : public TPersistent {
  VORN_CLASS(TStrings, TPersistent)
  TStrings() = default;
  ~TStrings() override = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  virtual int Count() const = 0;
  std::string Strings(int index) const { return Get(index); }
  void SetStrings(int index, const std::string& text) { Put(index, text); }
  std::string operator[](int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* object) { PutObject(index, object); }
  intptr_t Tags(int index) const { return reinterpret_cast<intptr_t>(GetObject(index)); }
  void SetTags(int index, intptr_t tag) { PutObject(index, reinterpret_cast<TObject*>(tag)); }

  // The index the string went to.
  virtual int Add(const std::string& text);
  virtual int AddObject(const std::string& text, TObject* object);
  int AddTag(const std::string& text, intptr_t tag) {
    return AddObject(text, reinterpret_cast<TObject*>(tag));
  }
  void AddStrings(const TStrings& strings);
  // `index` may be Count() (append).
  virtual void Insert(int index, const std::string& text) = 0;
  virtual void InsertObject(int index, const std::string& text, TObject* object);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);

  virtual int IndexOf(std::string_view text) const;
  int IndexOfName(std::string_view name) const;
  int IndexOfObject(const TObject* object) const;
  // Same count and the same strings, byte for byte.
  bool Equals(const TStrings& other) const;

  // The part before the first separator ("" without one) and the part after.
  std::string Names(int index) const;
  std::string ValueFromIndex(int index) const;
  // The value of the first string named `name`; "" when none.
  std::string Values(std::string_view name) const;
  // Replaces or adds "name=value"; an empty value deletes the pair.
  void SetValues(std::string_view name, const std::string& value);
  char NameValueSeparator() const { return nameValueSeparator_; }
  void SetNameValueSeparator(char separator) { nameValueSeparator_ = separator; }

  std::string Text() const;
  virtual void SetText(std::string_view text);
  std::string DelimitedText() const;
  void SetDelimitedText(std::string_view text);
  std::string CommaText() const;
  void SetCommaText(std::string_view text);
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char delimiter) { delimiter_ = delimiter; }
  char QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char quote) { quoteChar_ = quote; }

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // Takes the strings (and objects) of another TStrings.
  void Assign(const TPersistent* source) override;

  // Text, from the stream's position to its end.
  void SaveToStream(TStream& stream) const;
  virtual void LoadFromStream(TStream& stream);
  void SaveToFile(const std::string& fileName) const;
  virtual void LoadFromFile(const std::string& fileName);

 protected:
  virtual std::string Get(int index) const = 0;
  // The default deletes and inserts, keeping the object.
  virtual void Put(int index, const std::string& text);
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);
  virtual void SetUpdateState(bool updating);
  virtual int CompareStrings(std::string_view a, std::string_view b) const;
  // Stores the strings as the property "Strings", a list of string values;
  // written when they differ from the filer's ancestor (or, without one,
  // when there are any).
  void DefineProperties(TFiler& filer) override;
  [[noreturn]] static void IndexError(int index);

 private:
  int updateCount_ = 0;
  char nameValueSeparator_ = '=';
  char delimiter_ = ',';
  char quoteChar_ = '"';
};

}  // namespace vorn

#pragma once
// TStrings: a list of strings (UTF-8), each with an optional object, and its text form (every
// line followed by CRLF). TStringList keeps the strings itself and raises OnChanging before and
// OnChange after each change; between BeginUpdate and EndUpdate the first change raises
// OnChanging and the last EndUpdate raises OnChange once, if anything changed.

#include <string>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/runtime/Object.h"

namespace vcl {

class EStringListError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class TStrings : public TPersistent {
public:
    ~TStrings() override = default;

    virtual int Count() const = 0;
    // Raise EStringListError for an index outside 0 to Count() - 1.
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& value);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);
    std::string Strings(int index) const { return Get(index); }
    std::string operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }

    int Add(const std::string& value) { return AddObject(value, nullptr); }
    int AddObject(const std::string& value, TObject* object);
    // Index may be Count() (append).
    virtual void Insert(int index, const std::string& value) = 0;
    void InsertObject(int index, const std::string& value, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    void AddStrings(const TStrings& strings);
    void Exchange(int index1, int index2);

    // First index of a string, compared without regard to ASCII case; -1 when absent.
    virtual int IndexOf(const std::string& value) const;
    int IndexOfObject(const TObject* object) const;

    // Every string followed by CRLF. Setting splits at CRLF, LF or CR; a last line without a
    // break counts, a break at the very end adds no empty line.
    virtual std::string Text() const;
    virtual void SetText(const std::string& value);

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    bool Equals(const TStrings& other) const;
    void Assign(const TPersistent& source) override;

protected:
    // BeginUpdate's first call (true) and EndUpdate's last one (false).
    virtual void SetUpdateState(bool) {}
    [[noreturn]] static void IndexError(int index);

private:
    int updateCount_ = 0;
};

class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override;

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& value) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::string& value) override;
    void Delete(int index) override;
    void Clear() override;
    void SetText(const std::string& value) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    virtual void Changing();
    virtual void Changed();

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    void Check(int index, int count) const;

    std::vector<Item> items_;
    bool changedWhileUpdating_ = false;
};

}  // namespace vcl

#pragma once

#include <string>

#include "fw/core/Object.h"

namespace fw {

// A document type the program declares. Converting it to a string registers it with the runtime
// (RuntimeRegisterFileType), once per object, and gives its name.
class FileType : public Object {
public:
    static Ref<FileType> Create() { return MakeRef<FileType>(); }

    const std::string& Name() const noexcept { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    // File name extensions, as declared (the program's text type has none).
    const std::string& Extensions() const noexcept { return extensions_; }
    void SetExtensions(std::string extensions) { extensions_ = std::move(extensions); }
    const std::string& MacType() const noexcept { return macType_; }
    void SetMacType(std::string type) { macType_ = std::move(type); }
    const std::string& MacCreator() const noexcept { return macCreator_; }
    void SetMacCreator(std::string creator) { macCreator_ = std::move(creator); }
    // The uniform type identifier; empty when not set.
    const std::string& UTI() const noexcept { return uti_; }
    void SetUTI(std::string uti) { uti_ = std::move(uti); }

    // Registers the type on the first conversion (a registration that raised is tried again on
    // the next one) and returns Name.
    std::string ToString();

    const char* ClassName() const noexcept override { return "FileType"; }

private:
    std::string name_;
    std::string extensions_;
    std::string macType_;
    std::string macCreator_;
    std::string uti_;
    bool registered_ = false;
};

}  // namespace fw

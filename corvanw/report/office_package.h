#pragma once
// An Office Open XML package as the parts of its zip archive: read whole,
// changed in memory, written to a temporary name and renamed when complete.

#include <string>
#include <vector>

namespace corvan {

struct PackagePart {
    std::string name;  // zip entry name, no leading slash ("word/document.xml")
    std::string data;
};

class OfficePackage {
public:
    // Throws FileError when the file cannot be read or is not a zip archive.
    static OfficePackage Read(const std::string& fileName);

    const std::string* Find(const std::string& name) const;
    std::string* Find(const std::string& name);
    // Replaces a part's bytes, or adds the part at the end.
    void Put(const std::string& name, std::string data);
    bool Contains(const std::string& name) const { return Find(name) != nullptr; }

    // Writes every part to fileName + a temporary suffix and renames it over
    // fileName when complete; throws FileError and leaves no partial file.
    void Write(const std::string& fileName) const;

    std::vector<PackagePart> parts;
};

}  // namespace corvan

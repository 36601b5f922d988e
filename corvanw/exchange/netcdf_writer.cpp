#include "exchange/netcdf_writer.h"

#include <netcdf.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "data/file_error.h"

namespace corvan {

namespace {

nc_type TypeOf(NcType t) {
    switch (t) {
        case NcType::Byte:
            return NC_BYTE;
        case NcType::Short:
            return NC_SHORT;
        case NcType::Int:
            return NC_INT;
        case NcType::Float:
            return NC_FLOAT;
        case NcType::Double:
            return NC_DOUBLE;
        case NcType::Char:
            return NC_CHAR;
    }
    return NC_CHAR;
}

// One open file; closing on every way out keeps the library from holding a
// handle on a file we are about to remove.
class OpenFile {
public:
    OpenFile(const std::string& reportedName, const std::string& path) : name_(reportedName) {
        Check(nc_create(path.c_str(), NC_NETCDF4 | NC_CLASSIC_MODEL | NC_CLOBBER, &id_));
        open_ = true;
    }
    ~OpenFile() {
        if (open_) nc_close(id_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int Id() const { return id_; }
    void Check(int status) const {
        if (status != NC_NOERR) throw FileError(name_, nc_strerror(status));
    }
    void Close() {
        open_ = false;
        Check(nc_close(id_));
    }

private:
    std::string name_;
    int id_ = -1;
    bool open_ = false;
};

void PutAttribute(const OpenFile& f, int varId, const NcAttribute& a) {
    const int id = f.Id();
    const std::size_t n = a.numbers.size();
    switch (a.type) {
        case NcType::Char:
            f.Check(nc_put_att_text(id, varId, a.name.c_str(), a.text.size(), a.text.data()));
            return;
        case NcType::Byte: {
            std::vector<signed char> v(a.numbers.begin(), a.numbers.end());
            f.Check(nc_put_att_schar(id, varId, a.name.c_str(), NC_BYTE, n, v.data()));
            return;
        }
        case NcType::Short: {
            std::vector<short> v(a.numbers.begin(), a.numbers.end());
            f.Check(nc_put_att_short(id, varId, a.name.c_str(), NC_SHORT, n, v.data()));
            return;
        }
        case NcType::Int: {
            std::vector<int> v(a.numbers.begin(), a.numbers.end());
            f.Check(nc_put_att_int(id, varId, a.name.c_str(), NC_INT, n, v.data()));
            return;
        }
        case NcType::Float: {
            std::vector<float> v(a.numbers.begin(), a.numbers.end());
            f.Check(nc_put_att_float(id, varId, a.name.c_str(), NC_FLOAT, n, v.data()));
            return;
        }
        case NcType::Double:
            f.Check(nc_put_att_double(id, varId, a.name.c_str(), NC_DOUBLE, n, a.numbers.data()));
            return;
    }
}

void PutValues(const OpenFile& f, int varId, const NcVariable& v) {
    const int id = f.Id();
    if (v.shape == NcShape::Text) {
        f.Check(nc_put_var_text(id, varId, v.text.empty() ? " " : v.text.c_str()));
        return;
    }
    switch (v.type) {
        case NcType::Byte:
            f.Check(nc_put_var_schar(id, varId, v.bytes.data()));
            return;
        case NcType::Short:
            f.Check(nc_put_var_short(id, varId, v.shorts.data()));
            return;
        case NcType::Float:
            f.Check(nc_put_var_float(id, varId, v.floats.data()));
            return;
        case NcType::Double:
            f.Check(nc_put_var_double(id, varId, v.doubles.data()));
            return;
        case NcType::Int:
        case NcType::Char:
            return;
    }
}

std::size_t ValueCount(const NcVariable& v) {
    switch (v.type) {
        case NcType::Byte:
            return v.bytes.size();
        case NcType::Short:
            return v.shorts.size();
        case NcType::Float:
            return v.floats.size();
        case NcType::Double:
            return v.doubles.size();
        case NcType::Int:
        case NcType::Char:
            return 0;
    }
    return 0;
}

void WriteTo(const std::string& reportedName, const std::string& path, const NetcdfContent& content) {
    OpenFile f(reportedName, path);
    const int id = f.Id();
    int previousFill = 0;
    // Every value is written, so pre-filling would only cost time.
    f.Check(nc_set_fill(id, NC_NOFILL, &previousFill));
    int timeDim = -1;
    const auto records = static_cast<std::size_t>(content.recordCount);
    f.Check(nc_def_dim(id, "TIME", records, &timeDim));

    std::vector<int> varIds;
    for (const NcVariable& v : content.variables) {
        int varId = -1;
        if (v.shape == NcShape::PerRecord) {
            if (ValueCount(v) != records) throw FileError(reportedName, "variable " + v.name + " has the wrong length");
            f.Check(nc_def_var(id, v.name.c_str(), TypeOf(v.type), 1, &timeDim, &varId));
            // One chunk holds a whole file's variable (at most 32767 values),
            // so reading any part costs one decompression.
            const std::size_t chunk = records;
            f.Check(nc_def_var_chunking(id, varId, NC_CHUNKED, &chunk));
            f.Check(nc_def_var_deflate(id, varId, 1, 1, kNetcdfDeflateLevel));
        } else if (v.shape == NcShape::Text) {
            int lengthDim = -1;
            const std::size_t length = v.text.empty() ? 1 : v.text.size();
            f.Check(nc_def_dim(id, (v.name + "_STRLEN").c_str(), length, &lengthDim));
            f.Check(nc_def_var(id, v.name.c_str(), NC_CHAR, 1, &lengthDim, &varId));
        } else {
            if (ValueCount(v) != 1) throw FileError(reportedName, "variable " + v.name + " needs one value");
            f.Check(nc_def_var(id, v.name.c_str(), TypeOf(v.type), 0, nullptr, &varId));
        }
        for (const NcAttribute& a : v.attributes) PutAttribute(f, varId, a);
        varIds.push_back(varId);
    }
    for (const NcAttribute& a : content.globals) PutAttribute(f, NC_GLOBAL, a);
    f.Check(nc_enddef(id));

    for (std::size_t k = 0; k < content.variables.size(); ++k) PutValues(f, varIds[k], content.variables[k]);
    f.Close();
}

// Names are UTF-8 throughout the program, whatever the system's code page.
std::filesystem::path Utf8Path(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}
std::string Utf8Name(const std::filesystem::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    std::error_code ec;
    std::filesystem::path temp;
    for (int k = 0;; ++k) {
        temp = target;
        temp += k == 0 ? std::string(".~tmp") : ".~tmp" + std::to_string(k);
        if (!std::filesystem::exists(temp, ec) || k == 99) break;
    }
    return temp;
}

}  // namespace

void WriteNetcdfContent(const std::string& fileName, const NetcdfContent& content) {
    const std::filesystem::path target = Utf8Path(fileName);
    std::error_code ec;
    // The library reports a missing folder as a refused permission, which
    // sends the user looking in the wrong place.
    const std::filesystem::path folder = target.parent_path();
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
        throw FileError(fileName, std::make_error_code(std::errc::no_such_file_or_directory).message());
    }
    const std::filesystem::path temp = TemporaryBeside(target);
    try {
        WriteTo(fileName, Utf8Name(temp), content);
    } catch (...) {
        std::filesystem::remove(temp, ec);
        throw;
    }
    std::filesystem::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw FileError(fileName, ec.message());
    }
}

std::string WriteNetcdfExport(const std::string& fileName, const DataSet& data, const NetcdfExportOptions& options) {
    NetcdfContent content;
    std::string refusal = BuildNetcdfContent(data, options, content);
    if (!refusal.empty()) return refusal;
    WriteNetcdfContent(fileName, content);
    return {};
}

}  // namespace corvan

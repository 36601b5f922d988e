#include "report/office_package.h"

#include <zip.h>

#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#include "data/file_error.h"

namespace corvan {

namespace {

std::string ZipErrorText(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

struct ArchiveCloser {
    void operator()(zip_t* z) const {
        if (z) zip_discard(z);
    }
};

}  // namespace

OfficePackage OfficePackage::Read(const std::string& fileName) {
    int code = 0;
    std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open(fileName.c_str(), ZIP_RDONLY, &code));
    if (!archive) {
        if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS) throw FileError(fileName, "not a document (no zip archive)");
        throw FileError(fileName, ZipErrorText(code));
    }
    OfficePackage package;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME))
            throw FileError(fileName, "damaged zip archive");
        PackagePart part;
        part.name = st.name;
        if (!part.name.empty() && part.name.back() == '/') continue;
        zip_file_t* f = zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0);
        if (!f) throw FileError(fileName, std::string("cannot read ") + st.name);
        std::string data;
        char buf[65536];
        zip_int64_t n = 0;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0) data.append(buf, static_cast<std::size_t>(n));
        zip_fclose(f);
        if (n < 0) throw FileError(fileName, std::string("cannot read ") + st.name);
        part.data = std::move(data);
        package.parts.push_back(std::move(part));
    }
    return package;
}

const std::string* OfficePackage::Find(const std::string& name) const {
    for (const PackagePart& p : parts) {
        if (p.name == name) return &p.data;
    }
    return nullptr;
}

std::string* OfficePackage::Find(const std::string& name) {
    for (PackagePart& p : parts) {
        if (p.name == name) return &p.data;
    }
    return nullptr;
}

void OfficePackage::Put(const std::string& name, std::string data) {
    if (std::string* existing = Find(name)) {
        *existing = std::move(data);
        return;
    }
    parts.push_back({name, std::move(data)});
}

void OfficePackage::Write(const std::string& fileName) const {
    std::random_device rd;
    const std::string temporary = fileName + ".~tmp" + std::to_string(rd() % 100000);
    int code = 0;
    zip_t* archive = zip_open(temporary.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) throw FileError(fileName, ZipErrorText(code));
    const auto fail = [&](const std::string& reason) {
        zip_discard(archive);
        std::error_code ec;
        std::filesystem::remove(temporary, ec);
        throw FileError(fileName, reason);
    };
    for (const PackagePart& part : parts) {
        // The buffers outlive zip_close: the parts are not touched meanwhile.
        zip_source_t* source = zip_source_buffer(archive, part.data.data(), part.data.size(), 0);
        if (!source) fail(zip_strerror(archive));
        const zip_int64_t index = zip_file_add(archive, part.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            fail(zip_strerror(archive));
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(archive) != 0) fail(zip_strerror(archive));
    std::error_code ec;
    std::filesystem::rename(temporary, fileName, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        throw FileError(fileName, "cannot be written: " + ec.message());
    }
}

}  // namespace corvan

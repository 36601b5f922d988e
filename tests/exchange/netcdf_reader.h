#pragma once
// Reads a written data-exchange file back through the NetCDF library, the
// way any reader of the file would, for the tests to compare.

#include <netcdf.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace corvan::testing {

class NcReader {
public:
    explicit NcReader(const std::string& fileName) {
        if (nc_open(fileName.c_str(), NC_NOWRITE, &id_) != NC_NOERR)
            throw std::runtime_error("cannot open " + fileName);
    }
    ~NcReader() { nc_close(id_); }
    NcReader(const NcReader&) = delete;
    NcReader& operator=(const NcReader&) = delete;

    int Format() const {
        int f = 0;
        nc_inq_format(id_, &f);
        return f;
    }
    bool Has(const std::string& var) const {
        int v = 0;
        return nc_inq_varid(id_, var.c_str(), &v) == NC_NOERR;
    }
    std::vector<std::string> VariableNames() const {
        int n = 0;
        nc_inq_nvars(id_, &n);
        std::vector<std::string> names;
        for (int v = 0; v < n; ++v) {
            char name[NC_MAX_NAME + 1] = {};
            nc_inq_varname(id_, v, name);
            names.emplace_back(name);
        }
        return names;
    }
    std::size_t Records() const {
        int dim = 0;
        std::size_t n = 0;
        if (nc_inq_dimid(id_, "TIME", &dim) != NC_NOERR) return 0;
        nc_inq_dimlen(id_, dim, &n);
        return n;
    }
    nc_type Type(const std::string& var) const {
        nc_type t = NC_NAT;
        nc_inq_vartype(id_, Var(var), &t);
        return t;
    }
    int Dimensions(const std::string& var) const {
        int n = -1;
        nc_inq_varndims(id_, Var(var), &n);
        return n;
    }
    std::vector<float> Floats(const std::string& var) const { return Get<float>(var, nc_get_var_float); }
    std::vector<double> Doubles(const std::string& var) const { return Get<double>(var, nc_get_var_double); }
    std::vector<short> Shorts(const std::string& var) const { return Get<short>(var, nc_get_var_short); }
    std::vector<signed char> Bytes(const std::string& var) const { return Get<signed char>(var, nc_get_var_schar); }
    std::string Chars(const std::string& var) const {
        std::vector<char> c = Get<char>(var, nc_get_var_text);
        return std::string(c.begin(), c.end());
    }

    // Attributes; var empty for a global one. A missing attribute gives an
    // empty result.
    std::string Text(const std::string& var, const std::string& name) const {
        const int v = var.empty() ? NC_GLOBAL : Var(var);
        std::size_t n = 0;
        if (nc_inq_attlen(id_, v, name.c_str(), &n) != NC_NOERR) return {};
        std::string s(n, '\0');
        nc_get_att_text(id_, v, name.c_str(), s.data());
        return s;
    }
    std::vector<double> Numbers(const std::string& var, const std::string& name) const {
        const int v = var.empty() ? NC_GLOBAL : Var(var);
        std::size_t n = 0;
        if (nc_inq_attlen(id_, v, name.c_str(), &n) != NC_NOERR) return {};
        std::vector<double> d(n);
        nc_get_att_double(id_, v, name.c_str(), d.data());
        return d;
    }
    nc_type AttributeType(const std::string& var, const std::string& name) const {
        nc_type t = NC_NAT;
        nc_inq_atttype(id_, var.empty() ? NC_GLOBAL : Var(var), name.c_str(), &t);
        return t;
    }
    // Shuffle, deflate and level of a variable.
    void Deflate(const std::string& var, int& shuffle, int& deflate, int& level) const {
        nc_inq_var_deflate(id_, Var(var), &shuffle, &deflate, &level);
    }

private:
    int Var(const std::string& name) const {
        int v = -1;
        if (nc_inq_varid(id_, name.c_str(), &v) != NC_NOERR) throw std::runtime_error("no variable " + name);
        return v;
    }
    std::size_t Length(int var) const {
        int ndims = 0;
        int dims[NC_MAX_VAR_DIMS] = {};
        nc_inq_varndims(id_, var, &ndims);
        nc_inq_vardimid(id_, var, dims);
        std::size_t n = 1;
        for (int k = 0; k < ndims; ++k) {
            std::size_t len = 0;
            nc_inq_dimlen(id_, dims[k], &len);
            n *= len;
        }
        return n;
    }
    template <typename T, typename F>
    std::vector<T> Get(const std::string& name, F get) const {
        const int v = Var(name);
        std::vector<T> values(Length(v));
        if (get(id_, v, values.data()) != NC_NOERR) throw std::runtime_error("cannot read " + name);
        return values;
    }

    int id_ = -1;
};

}  // namespace corvan::testing

#include "core/workspace/hdf5_datasets.h"

#include <algorithm>
#include <string>

#include "core/workspace/map_texts.h"
#include "core/workspace/records.h"

#ifdef ZEPHALO_HAVE_HDF5
#include <H5Cpp.h>
#else
#include <fstream>
#endif

namespace zephalo::core::hdf5 {

#ifdef ZEPHALO_HAVE_HDF5

bool isHdf5(const std::filesystem::path& file) {
    H5::Exception::dontPrint();
    try {
        return H5::H5File::isHdf5(file.string());
    } catch (const H5::Exception&) {
        return false;
    }
}

struct Reader::Impl {
    H5::H5File file;
};

Reader::Reader() : m_impl(std::make_unique<Impl>()) {}
Reader::~Reader() = default;

Status Reader::open(const std::filesystem::path& file) {
    m_label = pathText(file);
    // The library's own error stack printing would reach the terminal.
    H5::Exception::dontPrint();
    try {
        m_impl->file.openFile(file.string(), H5F_ACC_RDONLY);
    } catch (const H5::Exception&) {
        return Status::failure(texts::hdf5CannotOpenText(m_label));
    }
    return {};
}

Status Reader::shape(std::string_view dataset, std::vector<std::size_t>& dims) const {
    const std::string name(dataset);
    try {
        if (!m_impl->file.nameExists(name)) {
            return Status::failure(texts::hdf5NoDatasetText(m_label, dataset));
        }
        const H5::DataSet data = m_impl->file.openDataSet(name);
        const H5T_class_t kind = data.getTypeClass();
        if (kind != H5T_INTEGER && kind != H5T_FLOAT) {
            return Status::failure(texts::hdf5NotNumbersText(m_label, dataset));
        }
        const H5::DataSpace space = data.getSpace();
        const int rank = space.getSimpleExtentNdims();
        std::vector<hsize_t> extents(static_cast<std::size_t>(std::max(rank, 0)));
        if (rank > 0) space.getSimpleExtentDims(extents.data());
        dims.assign(extents.begin(), extents.end());
    } catch (const H5::Exception&) {
        // A path through something that is not a group, or a group itself.
        return Status::failure(texts::hdf5NoDatasetText(m_label, dataset));
    }
    return {};
}

Status Reader::read(std::string_view dataset, std::vector<double>& values) const {
    try {
        const H5::DataSet data = m_impl->file.openDataSet(std::string(dataset));
        const auto count = static_cast<std::size_t>(data.getSpace().getSimpleExtentNpoints());
        values.assign(count, 0.0);
        if (count > 0) data.read(values.data(), H5::PredType::NATIVE_DOUBLE);
    } catch (const H5::Exception&) {
        return Status::failure(texts::hdf5CannotReadText(m_label, dataset));
    }
    return {};
}

#else
// Built without the library (Windows): an HDF5 file is recognised by its
// signature and refused with a message saying how to read the map instead.

bool isHdf5(const std::filesystem::path& file) {
    constexpr char kSignature[8] = {'\x89', 'H', 'D', 'F', '\r', '\n', '\x1a', '\n'};
    char head[8] = {};
    std::ifstream in(file, std::ios::binary);
    return in.read(head, sizeof head) && std::equal(head, head + 8, kSignature);
}

struct Reader::Impl {};

Reader::Reader() = default;
Reader::~Reader() = default;

Status Reader::open(const std::filesystem::path& file) {
    m_label = pathText(file);
    return Status::failure(texts::hdf5NotBuiltText(m_label));
}

Status Reader::shape(std::string_view, std::vector<std::size_t>&) const {
    return Status::failure(texts::hdf5NotBuiltText(m_label));
}

Status Reader::read(std::string_view, std::vector<double>&) const {
    return Status::failure(texts::hdf5NotBuiltText(m_label));
}
#endif

}  // namespace zephalo::core::hdf5

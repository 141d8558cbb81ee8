#include "graphics/export/page_writer.h"

#include "base/file_io.h"

#include <filesystem>

namespace qx {

int pageDigits(int pages)
{
    int digits = 1;
    for (int limit = 9; pages > limit && digits < 6; limit = limit * 10 + 9)
        ++digits;
    return digits;
}

std::string pageFileName(const std::string& base, int page, int pages, const std::string& ext)
{
    if (pages <= 1)
        return base + ext;
    std::string number = std::to_string(page);
    const size_t digits = static_cast<size_t>(pageDigits(pages));
    if (number.size() < digits)
        number.insert(0, digits - number.size(), '0');
    return base + number + ext;
}

std::string bareName(const std::string& path)
{
    return std::filesystem::path(path).stem().string();
}

std::string withoutExtension(const std::string& path)
{
    std::filesystem::path p(path);
    return p.replace_extension().string();
}

bool PageWriter::write(const std::string& path, const std::string& content)
{
    std::error_code ec;
    if (!confirmed_ && std::filesystem::exists(path, ec) && !(ask_ && ask_("overwrite existing file?")))
        return false;
    confirmed_ = true;
    return writeFileAtomically(path, content);
}

} // namespace qx

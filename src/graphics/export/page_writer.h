#pragma once
// Writing export pages to files: page file names, the overwrite question,
// and whole-page writes that never leave a half-written file behind.
#include <functional>
#include <string>

namespace qx {

// Decimal digits of the page count: 1 up to 9 pages, 2 up to 99, ... 6 above 99999.
int pageDigits(int pages);
// base + (only when pages > 1) the page index left-padded with '0' to pageDigits(pages) + ext.
std::string pageFileName(const std::string& base, int page, int pages, const std::string& ext);
// The file name without directory and extension (for titles and page lists).
std::string bareName(const std::string& path);
// A file name with its extension cut off (the export base name).
std::string withoutExtension(const std::string& path);

// One export run's writing state: the overwrite question is asked once, for
// the first existing file; later pages overwrite silently.
class PageWriter {
public:
    using Ask = std::function<bool(const std::string& question)>;
    explicit PageWriter(Ask askYesNo) : ask_(std::move(askYesNo)) {}

    // Writes `content` to `path`. False when the user refuses the overwrite or
    // the file cannot be written (then an existing file is left as it was).
    bool write(const std::string& path, const std::string& content);
    bool overwriteConfirmed() const { return confirmed_; }

private:
    Ask ask_;
    bool confirmed_ = false;
};

} // namespace qx

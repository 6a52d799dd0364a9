#include "TextFile.h"

#include "PendingFiles.h"

TextFileWriter::TextFileWriter(const std::string& path) {
    if (!m_file.Open(path)) Fail();
}

void TextFileWriter::Append(std::string_view text) {
    if (!m_file.Write(text.data(), text.size())) Fail();
}

void TextFileWriter::Commit() {
    if (!m_file.Finish() || !m_file.Commit()) Fail();
}

void TextFileWriter::Fail() const {
    throw TextFileError(CannotWriteText(m_file), m_file.Refusal().empty() ? m_file.Error() : 0);
}

void WriteTextFile(const std::string& path, std::string_view text) {
    TextFileWriter file(path);
    file.Append(text);
    file.Commit();
}

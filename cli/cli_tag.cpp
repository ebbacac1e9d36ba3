// varnel-cli tag: shows and edits the two tags of one MP3 file with the
// same calls as the tag window's 更新.

#include <array>
#include <optional>
#include <string_view>

#include "cli/cli_commands.h"
#include "id3/id3v1.h"
#include "id3/id3v2_reader.h"
#include "id3/id3v2_writer.h"
#include "platform/byte_file.h"
#include "rename/name_text.h"

namespace varnel::cli {

namespace {

struct FieldName {
    std::string_view name;
    std::string TagFields::*member;
};

// In TagFields order; ID3v1 carries the first seven.
constexpr std::array<FieldName, 12> field_names{{
    {"title", &TagFields::title},
    {"artist", &TagFields::artist},
    {"album", &TagFields::album},
    {"track", &TagFields::track},
    {"year", &TagFields::year},
    {"genre", &TagFields::genre},
    {"comment", &TagFields::comment},
    {"composer", &TagFields::composer},
    {"original_artist", &TagFields::original_artist},
    {"copyright", &TagFields::copyright},
    {"url", &TagFields::url},
    {"encoder", &TagFields::encoder},
}};
constexpr std::size_t v1_field_count = 7;

std::string TagFields::*member_of(std::string_view name, std::size_t allowed) {
    for (std::size_t i = 0; i < allowed; ++i)
        if (field_names[i].name == name) return field_names[i].member;
    return nullptr;
}

// Applies FIELD=VALUE settings; false (with a message) for an unknown field.
bool apply(const std::vector<std::pair<std::string, std::string>>& settings, std::size_t allowed,
           TagFields& fields, std::ostream& err) {
    for (const auto& [name, value] : settings) {
        std::string TagFields::*member = member_of(name, allowed);
        if (!member) {
            err << "varnel-cli: unknown tag field " << name << '\n';
            return false;
        }
        fields.*member = value;
    }
    return true;
}

void print_tag(std::string_view prefix, const std::optional<TagFields>& fields, std::size_t count,
               const Codec& codec, std::ostream& out) {
    if (!fields) {
        out << prefix << "=none\n";
        return;
    }
    for (std::size_t i = 0; i < count; ++i)
        out << prefix << '.' << field_names[i].name << '='
            << codec.to_utf8_lossy((*fields).*(field_names[i].member)) << '\n';
}

std::optional<TagFields> read_v1(ByteFile& file) {
    TagFields fields;
    if (!read_id3v1_tag(file, fields)) return std::nullopt;
    return fields;
}

std::optional<TagFields> read_v2(ByteFile& file, const Codec& codec) {
    TagFields fields;
    if (!read_id3v2_tag(file, fields, codec)) return std::nullopt;
    return fields;
}

// The ID3v1 step of 更新: track and genre as numbers (0 and 255 when empty).
bool write_v1(ByteFile& file, const TagFields& f) {
    const int genre = f.genre.empty() ? 255 : to_integer(f.genre);
    return write_id3v1_tag(file, f.title, f.artist, f.album, f.year, f.comment, to_integer(f.track),
                           genre);
}

bool edit(const Command& command, const std::string& path, const Codec& codec, std::ostream& err) {
    std::optional<ByteFile> file = ByteFile::open_read_write(path);
    if (!file) {
        err << "varnel-cli: cannot open " << path << " for writing\n";
        return false;
    }
    bool ok = true;
    if (!command.set_v1.empty()) {
        TagFields fields = read_v1(*file).value_or(TagFields{});
        ok = apply(command.set_v1, v1_field_count, fields, err) && write_v1(*file, fields) && ok;
    }
    if (command.remove_v1) ok = remove_id3v1_tag(*file) && ok;
    if (!command.set_v2.empty()) {
        TagFields fields = read_v2(*file, codec).value_or(TagFields{});
        ok = apply(command.set_v2, field_names.size(), fields, err) &&
             write_id3v2_tag(*file, path, fields) && ok;
    }
    if (command.remove_v2) ok = remove_id3v2_tag(*file, path) && ok;
    if (!ok) err << "varnel-cli: updating the tags of " << path << " failed\n";
    return ok;
}

}  // namespace

int run_tag(const Command& command, const Codec& codec, std::ostream& out, std::ostream& err) {
    const std::string& path = command.files.front();
    const bool editing = !command.set_v1.empty() || !command.set_v2.empty() || command.remove_v1 ||
                         command.remove_v2;
    const bool edited = !editing || edit(command, path, codec, err);
    std::optional<ByteFile> file = ByteFile::open_read(path);
    if (!file) {
        err << "varnel-cli: cannot open " << path << '\n';
        return 1;
    }
    print_tag("v1", read_v1(*file), v1_field_count, codec, out);
    print_tag("v2", read_v2(*file, codec), field_names.size(), codec, out);
    return edited ? 0 : 1;
}

}  // namespace varnel::cli

// Loading the report design file. Its format is described in docs/report_designs.md:
// a JSON object with "format", "version", optional "defaults", reusable "blocks" and
// the "designs"; blocks are expanded here, with their variables substituted, into the
// plain artwork and fields of each design.
#include "report/design.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "report/report_errors.h"

namespace qnvr::report {
namespace {

using nlohmann::json;

constexpr const char* kFormatName = "Quenvora W-2 report designs";
constexpr int kFormatVersion = 1;
constexpr int kMaxBlockDepth = 8;

// A fault in the file's content, with where it is ("designs.FormW3.items[4]").
struct DesignError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Vars = std::map<std::string, std::string>;

struct TextStyle {
    std::string font = "Arial";
    double size = 10;
};

struct Defaults {
    TextStyle text{"Arial", 6};
    TextStyle field{"Arial", 10};
    double lineWidth = 0.5;
};

// Where an item is placed: the offset of the blocks it sits in and their variables.
struct Context {
    double dx = 0, dy = 0;
    Vars vars;
    std::string where;
    int depth = 0;
};

class Expander {
public:
    Expander(const json& root, ReportDesign& design) : root_(root), design_(design) { ReadDefaults(); }

    void Items(const json& items, const Context& ctx) {
        if (!items.is_array()) throw DesignError(ctx.where + ": items must be a list");
        for (std::size_t i = 0; i < items.size(); ++i) {
            Context itemCtx = ctx;
            itemCtx.where = ctx.where + "[" + std::to_string(i) + "]";
            Item(items[i], itemCtx);
        }
    }

private:
    void ReadDefaults() {
        if (!root_.contains("defaults")) return;
        const json& d = root_.at("defaults");
        ReadStyle(d, "text", defaults_.text);
        ReadStyle(d, "field", defaults_.field);
        if (d.contains("lineWidth")) defaults_.lineWidth = Number(d.at("lineWidth"), "defaults.lineWidth");
    }

    static void ReadStyle(const json& d, const char* key, TextStyle& style) {
        if (!d.contains(key)) return;
        const json& s = d.at(key);
        const std::string where = std::string("defaults.") + key;
        if (s.contains("font")) style.font = String(s.at("font"), where + ".font");
        if (s.contains("size")) style.size = Number(s.at("size"), where + ".size");
    }

    void Item(const json& item, const Context& ctx) {
        if (!item.is_object()) throw DesignError(ctx.where + ": an item must be an object");
        if (item.size() == 1 && item.contains("comment")) return;  // a note for the reader
        if (item.contains("box")) return Box(item, ctx);
        if (item.contains("fill")) return Fill(item, ctx);
        if (item.contains("line")) return Line(item, ctx);
        if (item.contains("text")) return Text(item, ctx);
        if (item.contains("field")) return Field(item, ctx);
        if (item.contains("use")) return Use(item, ctx);
        throw DesignError(ctx.where + ": unknown item (expected box, fill, line, text, field or use)");
    }

    void Box(const json& item, const Context& ctx) {
        auto r = Numbers<4>(item.at("box"), ctx.where + ".box");
        const double width = item.contains("width") ? Number(item.at("width"), ctx.where + ".width") : defaults_.lineWidth;
        Add(RectOp{r[0] + ctx.dx, r[1] + ctx.dy, r[2], r[3], width, -1, 0, 0});
    }

    void Fill(const json& item, const Context& ctx) {
        auto r = Numbers<4>(item.at("fill"), ctx.where + ".fill");
        const double gray = item.contains("gray") ? Number(item.at("gray"), ctx.where + ".gray") : 0.0;
        if (gray < 0 || gray > 1) throw DesignError(ctx.where + ".gray: must lie between 0 (black) and 1 (white)");
        Add(RectOp{r[0] + ctx.dx, r[1] + ctx.dy, r[2], r[3], 0, gray, 0, 0});
    }

    void Line(const json& item, const Context& ctx) {
        auto p = Numbers<4>(item.at("line"), ctx.where + ".line");
        const double width = item.contains("width") ? Number(item.at("width"), ctx.where + ".width") : defaults_.lineWidth;
        Add(LineOp{p[0] + ctx.dx, p[1] + ctx.dy, p[2] + ctx.dx, p[3] + ctx.dy, width});
    }

    void Text(const json& item, const Context& ctx) {
        TextOp op = Placed(item, ctx, defaults_.text);
        op.text = Substitute(String(item.at("text"), ctx.where + ".text"), ctx);
        if (!op.text.empty()) Add(std::move(op));
    }

    void Field(const json& item, const Context& ctx) {
        const std::string param = Substitute(String(item.at("field"), ctx.where + ".field"), ctx);
        TextOp op = Placed(item, ctx, defaults_.field);
        if (!param.empty()) design_.fields.push_back(DesignField{param, std::move(op)});
    }

    void Use(const json& item, const Context& ctx) {
        const std::string name = String(item.at("use"), ctx.where + ".use");
        if (!root_.contains("blocks") || !root_.at("blocks").contains(name)) {
            throw DesignError(ctx.where + ": no block named \"" + name + "\"");
        }
        if (ctx.depth >= kMaxBlockDepth) throw DesignError(ctx.where + ": blocks nested too deeply (does a block use itself?)");
        Context inner = ctx;
        inner.depth = ctx.depth + 1;
        if (item.contains("at")) {
            auto at = Numbers<2>(item.at("at"), ctx.where + ".at");
            inner.dx += at[0], inner.dy += at[1];
        }
        if (item.contains("vars")) {
            const json& vars = item.at("vars");
            if (!vars.is_object()) throw DesignError(ctx.where + ".vars: must be an object of texts");
            for (const auto& [key, value] : vars.items()) {
                inner.vars[key] = Substitute(String(value, ctx.where + ".vars." + key), ctx);
            }
        }
        inner.where = "blocks." + name;
        Items(root_.at("blocks").at(name), inner);
    }

    TextOp Placed(const json& item, const Context& ctx, const TextStyle& style) const {
        auto at = Numbers<2>(Required(item, "at", ctx), ctx.where + ".at");
        TextOp op;
        op.x = at[0] + ctx.dx;
        op.y = at[1] + ctx.dy;
        op.family = item.contains("font") ? String(item.at("font"), ctx.where + ".font") : style.font;
        op.sizePt = item.contains("size") ? Number(item.at("size"), ctx.where + ".size") : style.size;
        if (op.sizePt <= 0) throw DesignError(ctx.where + ".size: must be above 0");
        op.align = item.contains("align") ? Align(item.at("align"), ctx.where + ".align") : TextAlign::Left;
        return op;
    }

    static const json& Required(const json& item, const char* key, const Context& ctx) {
        if (!item.contains(key)) throw DesignError(ctx.where + ": \"" + key + "\" is missing");
        return item.at(key);
    }

    template <typename Shape>
    void Add(Shape shape) {
        design_.artwork.push_back(DrawOp{std::move(shape), false});
    }

    // "{name}" becomes the variable's value; an unknown variable is an error.
    static std::string Substitute(const std::string& text, const Context& ctx) {
        std::string out;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t open = text.find('{', pos);
            if (open == std::string::npos) break;
            const std::size_t close = text.find('}', open);
            if (close == std::string::npos) throw DesignError(ctx.where + ": \"{\" without \"}\" in \"" + text + "\"");
            const std::string name = text.substr(open + 1, close - open - 1);
            auto it = ctx.vars.find(name);
            if (it == ctx.vars.end()) throw DesignError(ctx.where + ": unknown variable {" + name + "} in \"" + text + "\"");
            out.append(text, pos, open - pos);
            out += it->second;
            pos = close + 1;
        }
        out.append(text, pos, std::string::npos);
        return out;
    }

    static std::string String(const json& v, const std::string& where) {
        if (!v.is_string()) throw DesignError(where + ": must be a text");
        return v.get<std::string>();
    }

    static double Number(const json& v, const std::string& where) {
        if (!v.is_number()) throw DesignError(where + ": must be a number");
        return v.get<double>();
    }

    template <std::size_t N>
    static std::array<double, N> Numbers(const json& v, const std::string& where) {
        if (!v.is_array() || v.size() != N) throw DesignError(where + ": must be a list of " + std::to_string(N) + " numbers");
        std::array<double, N> out{};
        for (std::size_t i = 0; i < N; ++i) out[i] = Number(v[i], where);
        return out;
    }

    static TextAlign Align(const json& v, const std::string& where) {
        const std::string a = String(v, where);
        if (a == "left") return TextAlign::Left;
        if (a == "center") return TextAlign::Center;
        if (a == "right") return TextAlign::Right;
        throw DesignError(where + ": must be \"left\", \"center\" or \"right\"");
    }

    const json& root_;
    ReportDesign& design_;
    Defaults defaults_;
};

void CheckFormat(const json& root) {
    if (!root.is_object() || root.value("format", std::string()) != kFormatName) {
        throw DesignError(std::string("it is not a report design file (\"format\" is not \"") + kFormatName + "\")");
    }
    if (!root.contains("version") || !root.at("version").is_number_integer()) throw DesignError("\"version\" is missing");
    if (root.at("version").get<int>() > kFormatVersion) throw DesignError("it was written for a newer version of the program");
    if (!root.contains("designs") || !root.at("designs").is_object()) throw DesignError("\"designs\" is missing");
    if (root.contains("blocks") && !root.at("blocks").is_object()) throw DesignError("\"blocks\" must be an object");
}

ReportDesign ExpandDesign(const json& root, const std::string& name, const json& spec) {
    const std::string where = "designs." + name;
    if (!spec.is_object()) throw DesignError(where + ": must be an object");
    ReportDesign design;
    design.name = name;
    if (spec.contains("page")) {
        const json& page = spec.at("page");
        if (!page.is_array() || page.size() != 2 || !page[0].is_number() || !page[1].is_number()) {
            throw DesignError(where + ".page: must be [width, height] in inches");
        }
        design.widthIn = page[0].get<double>();
        design.heightIn = page[1].get<double>();
    }
    if (!spec.contains("items")) throw DesignError(where + ": \"items\" is missing");
    Expander(root, design).Items(spec.at("items"), Context{0, 0, {}, where + ".items", 0});
    // Rules and boxes first, then captions: a shaded box never hides a caption, and
    // each renderer switches between drawing and text as seldom as possible.
    std::stable_partition(design.artwork.begin(), design.artwork.end(),
                          [](const DrawOp& op) { return !std::holds_alternative<TextOp>(op.shape); });
    design.sharedArtwork = std::make_shared<const Artwork>(Artwork{design.artwork});
    return design;
}

std::string InvalidFile(const std::string& source, const std::string& why) {
    return "The report design file \"" + source + "\" is not valid: " + why + ".";
}

}  // namespace

DesignFile DesignFile::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int err = errno;
        throw EReportException("The report design file \"" + file.string() + "\" could not be opened: " +
                               std::strerror(err ? err : ENOENT) + ".");
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw EReportException("The report design file \"" + file.string() + "\" could not be read.");
    return Parse(text.str(), file.string());
}

DesignFile DesignFile::Parse(const std::string& text, const std::string& source) {
    DesignFile file;
    try {
        const json root = json::parse(text);
        CheckFormat(root);
        for (const auto& [name, spec] : root.at("designs").items()) file.designs_[name] = ExpandDesign(root, name, spec);
    } catch (const json::parse_error& e) {
        throw EReportException(InvalidFile(source, std::string("it is not well-formed JSON (") + e.what() + ")"));
    } catch (const json::exception& e) {
        throw EReportException(InvalidFile(source, e.what()));
    } catch (const DesignError& e) {
        throw EReportException(InvalidFile(source, e.what()));
    }
    return file;
}

const ReportDesign* DesignFile::Find(const std::string& name) const {
    auto it = designs_.find(name);
    return it == designs_.end() ? nullptr : &it->second;
}

std::vector<std::string> DesignFile::Names() const {
    std::vector<std::string> names;
    for (const auto& [name, design] : designs_) names.push_back(name);
    return names;
}

}  // namespace qnvr::report

// Our own .x reader. Every count and index is checked against what the data can
// hold, nesting is bounded, and nothing is reserved from a count alone.
#include "io_x.h"

#include "bitmap_lookup.h"
#include "image_io.h"

#include <zlib.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <unordered_map>

namespace ombrel {
namespace {

constexpr int kMaxDepth = 64;
constexpr std::size_t kHeaderSize = 16;

[[noreturn]] void failAt(const std::string& source, std::size_t offset, const std::string& what) {
    throw ApiError(source + ": offset " + std::to_string(offset) + ": " + what);
}

// ---------------------------------------------------------------- tokens

enum class Tok { End, Name, String, Number, Guid, OBrace, CBrace, Separator };

struct Token {
    Tok type = Tok::End;
    std::string_view text;
    double value = 0;
    std::size_t offset = 0;
};

class Lexer {
public:
    virtual ~Lexer() = default;
    virtual Token next() = 0;
};

class TextLexer : public Lexer {
public:
    TextLexer(std::string_view data, const std::string& source) : d_(data), source_(source) {}

    Token next() override {
        skip();
        Token t;
        t.offset = p_;
        if (p_ >= d_.size()) return t;
        char c = d_[p_];
        if (c == '{' || c == '}') {
            ++p_;
            t.type = c == '{' ? Tok::OBrace : Tok::CBrace;
            return t;
        }
        if (c == ';' || c == ',') {
            ++p_;
            t.type = Tok::Separator;
            return t;
        }
        if (c == '"') {
            std::size_t end = d_.find('"', p_ + 1);
            if (end == std::string_view::npos) failAt(source_, p_, "unterminated string");
            t.type = Tok::String;
            t.text = d_.substr(p_ + 1, end - p_ - 1);
            p_ = end + 1;
            return t;
        }
        if (c == '<') {
            std::size_t end = d_.find('>', p_ + 1);
            if (end == std::string_view::npos) failAt(source_, p_, "unterminated GUID");
            t.type = Tok::Guid;
            p_ = end + 1;
            return t;
        }
        std::size_t s = p_;
        while (p_ < d_.size() && !isDelimiter(d_[p_])) ++p_;
        if (p_ == s) failAt(source_, s, std::string("unexpected character '") + c + "'");
        t.text = d_.substr(s, p_ - s);
        std::string_view num = t.text;
        if (num[0] == '+') num.remove_prefix(1);
        double v = 0;
        auto [end, ec] = std::from_chars(num.data(), num.data() + num.size(), v);
        if (!num.empty() && ec == std::errc() && end == num.data() + num.size()) {
            t.type = Tok::Number;
            t.value = v;
        } else if (!num.empty() && ec == std::errc::result_out_of_range && end == num.data() + num.size()) {
            // Beyond a double either way: overflow is refused where the number is
            // used, underflow is the zero it is next to.
            t.type = Tok::Number;
            t.value = std::strtod(std::string(num).c_str(), nullptr);
        } else {
            t.type = Tok::Name;
        }
        return t;
    }

private:
    static bool isDelimiter(char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '{' || c == '}' || c == ';' || c == ',' ||
               c == '"' || c == '<' || c == '>' || c == '#' || c == '\f' || c == '\v' || c == '\0';
    }
    void skip() {
        while (p_ < d_.size()) {
            char c = d_[p_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v' || c == '\0') {
                ++p_;
            } else if (c == '#' || (c == '/' && p_ + 1 < d_.size() && d_[p_ + 1] == '/')) {
                std::size_t nl = d_.find('\n', p_);
                p_ = nl == std::string_view::npos ? d_.size() : nl + 1;
            } else {
                break;
            }
        }
    }

    std::string_view d_;
    const std::string& source_;
    std::size_t p_ = kHeaderSize;
};

class BinaryLexer : public Lexer {
public:
    BinaryLexer(std::string_view data, const std::string& source, bool doubles)
        : d_(data), source_(source), floatSize_(doubles ? 8 : 4) {}

    Token next() override {
        Token t;
        if (listLeft_ > 0) {
            --listLeft_;
            t.offset = p_;
            t.type = Tok::Number;
            if (listFloats_) {
                if (floatSize_ == 8) {
                    double v;
                    std::memcpy(&v, take(8), 8);
                    t.value = v;
                } else {
                    float v;
                    std::memcpy(&v, take(4), 4);
                    t.value = v;
                }
            } else {
                t.value = u32();
            }
            return t;
        }
        t.offset = p_;
        if (p_ >= d_.size()) return t;
        uint16_t id = u16();
        switch (id) {
            case 1:  // name
            case 2: {  // string
                uint32_t n = u32();
                t.type = id == 1 ? Tok::Name : Tok::String;
                t.text = std::string_view(take(n), n);
                return t;
            }
            case 3:
                t.type = Tok::Number;
                t.value = u32();
                return t;
            case 5:
                take(16);
                t.type = Tok::Guid;
                return t;
            case 6:
            case 7: {
                uint32_t n = u32();
                std::size_t each = id == 6 ? 4 : floatSize_;
                if (n > (d_.size() - p_) / each) failAt(source_, t.offset, "list of " + std::to_string(n) + " items longer than the file");
                listLeft_ = n;
                listFloats_ = id == 7;
                return next();
            }
            case 10: t.type = Tok::OBrace; return t;
            case 11: t.type = Tok::CBrace; return t;
            case 31:
                t.type = Tok::Name;
                t.text = "template";
                return t;
            default:
                if ((id >= 12 && id <= 20) || (id >= 40 && id <= 53)) {
                    t.type = Tok::Separator;
                    return t;
                }
                failAt(source_, t.offset, "unknown binary token " + std::to_string(id));
        }
    }

private:
    const char* take(std::size_t n) {
        if (n > d_.size() - p_) failAt(source_, p_, "the data ends inside a token");
        const char* s = d_.data() + p_;
        p_ += n;
        return s;
    }
    uint16_t u16() {
        const auto* b = reinterpret_cast<const unsigned char*>(take(2));
        return static_cast<uint16_t>(b[0] | b[1] << 8);
    }
    uint32_t u32() {
        const auto* b = reinterpret_cast<const unsigned char*>(take(4));
        return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
               static_cast<uint32_t>(b[3]) << 24;
    }

    std::string_view d_;
    const std::string& source_;
    std::size_t floatSize_;
    std::size_t p_ = kHeaderSize;
    uint32_t listLeft_ = 0;
    bool listFloats_ = false;
};

// ---------------------------------------------------------------- data objects

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Exporters spell template names in their own case (TextureFileName beside
// TextureFilename), so the ones we read are kept in one spelling.
std::string typeName(std::string_view written) {
    static constexpr std::string_view kKnown[] = {"Frame",           "FrameTransformMatrix", "Material",
                                                  "Mesh",            "MeshMaterialList",     "MeshNormals",
                                                  "MeshTextureCoords", "MeshVertexColors",   "TextureFilename"};
    for (std::string_view k : kKnown)
        if (sameNoCase(written, k)) return std::string(k);
    return std::string(written);
}

struct XObject {
    std::string type, name;
    std::size_t offset = 0;
    std::vector<double> nums;
    std::vector<std::string> strings;
    std::vector<std::string> refs;
    std::vector<std::unique_ptr<XObject>> kids;
};

class Parser {
public:
    Parser(Lexer& lex, const std::string& source) : lex_(lex), source_(source) {}

    std::vector<std::unique_ptr<XObject>> parseFile() {
        std::vector<std::unique_ptr<XObject>> top;
        for (;;) {
            Token t = lex_.next();
            if (t.type == Tok::End) break;
            if (t.type == Tok::Separator) continue;
            if (t.type != Tok::Name) failAt(source_, t.offset, "expected a template or data object");
            if (sameNoCase(t.text, "template")) {
                skipTemplate();
                continue;
            }
            top.push_back(object(t, 0));
        }
        return top;
    }

private:
    void skipTemplate() {
        int depth = 0;
        for (;;) {
            Token t = lex_.next();
            if (t.type == Tok::End) failAt(source_, t.offset, "the file ends inside a template");
            if (t.type == Tok::OBrace) ++depth;
            if (t.type == Tok::CBrace && --depth <= 0) return;
        }
    }

    std::unique_ptr<XObject> object(const Token& typeTok, int depth) {
        if (depth > kMaxDepth) failAt(source_, typeTok.offset, "objects nested deeper than " + std::to_string(kMaxDepth));
        auto obj = std::make_unique<XObject>();
        obj->type = typeName(typeTok.text);
        obj->offset = typeTok.offset;
        Token t = lex_.next();
        if (t.type == Tok::Name) {
            obj->name = std::string(t.text);
            t = lex_.next();
        }
        if (t.type != Tok::OBrace) failAt(source_, t.offset, "expected '{' after " + obj->type);
        for (;;) {
            t = lex_.next();
            switch (t.type) {
                case Tok::End: failAt(source_, t.offset, "the file ends inside " + obj->type);
                case Tok::CBrace: return obj;
                case Tok::Number:
                    // As every engine setter: what a float cannot hold is no coordinate.
                    if (!std::isfinite(t.value) || std::fabs(t.value) > double(std::numeric_limits<float>::max()))
                        failAt(source_, t.offset, "number " + (t.text.empty() ? std::to_string(t.value) : std::string(t.text)) +
                                                      " in " + obj->type + " is not finite or beyond the float range");
                    obj->nums.push_back(t.value);
                    break;
                case Tok::String: obj->strings.emplace_back(t.text); break;
                case Tok::Guid:
                case Tok::Separator: break;
                case Tok::OBrace:  // a reference: { name } or { <guid> }
                    for (;;) {
                        Token r = lex_.next();
                        if (r.type == Tok::CBrace) break;
                        if (r.type == Tok::Name) obj->refs.emplace_back(r.text);
                        else if (r.type != Tok::Guid && r.type != Tok::Separator)
                            failAt(source_, r.offset, "bad reference in " + obj->type);
                    }
                    break;
                case Tok::Name: obj->kids.push_back(object(t, depth + 1)); break;
            }
        }
    }

    Lexer& lex_;
    const std::string& source_;
};

// Reads numbers of one object in order, refusing to run past its end.
class Numbers {
public:
    Numbers(const XObject& o, const std::string& source) : o_(o), source_(source) {}
    double take() {
        if (i_ >= o_.nums.size()) failAt(source_, o_.offset, o_.type + " holds fewer values than it announces");
        return o_.nums[i_++];
    }
    // A count or index: a whole number in 0..limit.
    std::size_t index(std::size_t limit) {
        double v = take();
        constexpr std::size_t kExact = std::size_t(1) << 53;
        if (limit > kExact) limit = kExact;
        if (!(v >= 0) || v != std::floor(v) || v > static_cast<double>(limit))
            failAt(source_, o_.offset, o_.type + ": value " + std::to_string(v) + " out of range");
        return static_cast<std::size_t>(v);
    }
    std::size_t left() const { return o_.nums.size() - i_; }
    bool done() const { return i_ >= o_.nums.size(); }

private:
    const XObject& o_;
    const std::string& source_;
    std::size_t i_ = 0;
};

// ---------------------------------------------------------------- building

struct Matrix {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // Row vectors: p * this.
    Vec3 point(Vec3 p) const {
        return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
                p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
    }
    Vec3 direction(Vec3 p) const {
        return {p.x * m[0] + p.y * m[4] + p.z * m[8], p.x * m[1] + p.y * m[5] + p.z * m[9],
                p.x * m[2] + p.y * m[6] + p.z * m[10]};
    }
    Matrix then(const Matrix& b) const {
        Matrix r;
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < 4; ++j) {
                double s = 0;
                for (int k = 0; k < 4; ++k) s += m[i * 4 + k] * b.m[k * 4 + j];
                r.m[i * 4 + j] = s;
            }
        return r;
    }
};

// Left-handed y-up to our right-handed z-up: the same shape, y and z swapped.
Vec3 toOurs(Vec3 v) { return {v.x, v.z, v.y}; }

uint8_t colourByte(double v) {
    if (!(v > 0)) return 0;
    if (v >= 1) return 255;
    return static_cast<uint8_t>(std::lround(v * 255));
}

struct MaterialFill {
    Rgb8 colour{192, 192, 192};
    int32_t bitmap = 0;
};

class Importer {
public:
    Importer(ImportBuilder& b, const FilePlaces& places) : b_(b), places_(places), source_(places.worldFile) {}

    void run(const std::vector<std::unique_ptr<XObject>>& top) {
        for (const auto& o : top)
            if (o->type == "Material" && !o->name.empty()) namedMaterials_.emplace(o->name, o.get());
        for (const auto& o : top) {
            if (o->type == "Frame") frame(*o, 0, Matrix{});
            else if (o->type == "Mesh") {
                Group& g = b_.group(o->name.empty() ? numbered("Mesh", meshCount_) : o->name, 0);
                mesh(*o, g.handle, Matrix{});
            }
        }
        for (int32_t h : b_.created())
            if (Group* g = lookup<Group>(h)) {
                Box3 box = subtreeBox(*g, 0);
                g->pivot = box.centre();
            }
    }

private:
    std::string numbered(const char* stem, int& counter) {
        ++counter;
        return std::string(stem) + (counter < 10 ? "0" : "") + std::to_string(counter);
    }

    Box3 subtreeBox(const Group& g, int depth) {
        Box3 box;
        if (depth > kMaxDepth + 2) return box;
        g.polygons.forEach([&](int32_t ph) {
            if (const Polygon* p = lookup<Polygon>(ph))
                for (int32_t pt : p->points)
                    if (const Point* q = lookup<Point>(pt)) box.add(q->pos);
        });
        g.children.forEach([&](int32_t c) {
            if (const Group* k = lookup<Group>(c)) box.add(subtreeBox(*k, depth + 1));
        });
        return box;
    }

    void frame(const XObject& o, int32_t father, const Matrix& parent) {
        Group& g = b_.group(o.name.empty() ? numbered("Frame", frameCount_) : o.name, father);
        int32_t gh = g.handle;
        Matrix local;
        for (const auto& k : o.kids)
            if (k->type == "FrameTransformMatrix") {
                Numbers n(*k, source_);
                for (double& v : local.m) v = n.take();
            }
        Matrix acc = local.then(parent);
        for (const auto& k : o.kids) {
            if (k->type == "Frame") frame(*k, gh, acc);
            else if (k->type == "Mesh") mesh(*k, gh, acc);
        }
    }

    const XObject* kid(const XObject& o, const char* type) {
        for (const auto& k : o.kids)
            if (k->type == type) return k.get();
        return nullptr;
    }

    MaterialFill material(const XObject& m) {
        auto it = fills_.find(&m);
        if (it != fills_.end()) return it->second;
        MaterialFill f;
        Numbers n(m, source_);
        double r = n.take(), g = n.take(), b = n.take();
        f.colour = {colourByte(r), colourByte(g), colourByte(b)};
        if (const XObject* tex = kid(m, "TextureFilename"); tex && !tex->strings.empty()) f.bitmap = texture(tex->strings[0]);
        fills_.emplace(&m, f);
        return f;
    }

    int32_t texture(const std::string& file) {
        std::string name = file;
        for (char& c : name)
            if (c == '\\') c = '/';
        std::string absolute = !name.empty() && name[0] == '/' ? name : std::string();
        std::string path = findBitmapFile(absolute, fileNameOf(name), places_, &folders_);
        if (path.empty() && absolute.empty()) {
            std::filesystem::path beside = std::filesystem::path(places_.worldFile).parent_path() / name;
            std::error_code ec;
            if (std::filesystem::is_regular_file(beside, ec)) path = beside.lexically_normal().string();
        }
        if (path.empty()) {
            logLine(1, source_ + ": texture \"" + file + "\" not found (looked for \"" + fileNameOf(name) +
                           "\" beside the model and in the bitmap folders); using the material colour");
            return 0;
        }
        if (const int32_t same = fileBitmaps_.find(path, -1)) return same;
        std::shared_ptr<Image> image;
        try {
            image = loadImageFile(path);
        } catch (const std::exception& e) {
            logLine(1, source_ + ": texture \"" + file + "\": " + e.what() + "; using the material colour");
            return 0;
        }
        Bitmap& bm = b_.make<Bitmap>();
        bm.image = std::move(image);
        bm.resolvedPath = path;
        bm.name = pathWithoutExtension(path);
        b_.world().bitmaps.append(bm.handle);
        fileBitmaps_.add(bm);
        return bm.handle;
    }

    void mesh(const XObject& o, int32_t group, const Matrix& m) {
        Numbers n(o, source_);
        std::size_t nv = n.index(n.left() / 3);
        std::vector<Vec3> verts;
        verts.reserve(nv);
        for (std::size_t i = 0; i < nv; ++i) {
            Vec3 v;
            v.x = n.take();
            v.y = n.take();
            v.z = n.take();
            verts.push_back(toOurs(m.point(v)));
        }
        std::size_t nf = n.index(n.left());
        std::vector<std::vector<std::size_t>> faces;
        faces.reserve(nf);
        for (std::size_t f = 0; f < nf; ++f) {
            std::size_t k = n.index(n.left());
            std::vector<std::size_t> face;
            face.reserve(k);
            for (std::size_t i = 0; i < k; ++i) {
                std::size_t idx = n.index(SIZE_MAX);
                if (idx >= nv) failAt(source_, o.offset, "Mesh: vertex index " + std::to_string(idx) + " out of range");
                face.push_back(idx);
            }
            faces.push_back(std::move(face));
        }

        // Optional parts; each is used only where it agrees with the mesh.
        std::vector<Vec3> normals;
        std::vector<std::vector<std::size_t>> normalFaces;
        if (const XObject* mn = kid(o, "MeshNormals")) {
            Numbers q(*mn, source_);
            std::size_t nn = q.index(q.left() / 3);
            for (std::size_t i = 0; i < nn; ++i) {
                Vec3 v;
                v.x = q.take();
                v.y = q.take();
                v.z = q.take();
                normals.push_back(toOurs(m.direction(v)));
            }
            std::size_t nfn = q.index(q.left());
            for (std::size_t f = 0; f < nfn; ++f) {
                std::size_t k = q.index(q.left());
                std::vector<std::size_t> face;
                for (std::size_t i = 0; i < k; ++i) {
                    std::size_t idx = q.index(SIZE_MAX);
                    if (idx >= nn) failAt(source_, mn->offset, "MeshNormals: index out of range");
                    face.push_back(idx);
                }
                normalFaces.push_back(std::move(face));
            }
        }
        std::vector<Vec2> uvs;
        if (const XObject* tc = kid(o, "MeshTextureCoords")) {
            Numbers q(*tc, source_);
            std::size_t count = q.index(q.left() / 2);
            for (std::size_t i = 0; i < count; ++i) {
                Vec2 uv;
                uv.x = q.take();
                uv.y = q.take();
                uvs.push_back(uv);
            }
        }
        std::vector<Rgb8> colours;
        std::vector<bool> hasColour;
        if (const XObject* vc = kid(o, "MeshVertexColors")) {
            Numbers q(*vc, source_);
            std::size_t count = q.index(q.left() / 5);
            colours.assign(nv, Rgb8{255, 255, 255});
            hasColour.assign(nv, false);
            for (std::size_t i = 0; i < count; ++i) {
                std::size_t idx = q.index(SIZE_MAX);
                double r = q.take(), g = q.take(), b = q.take();
                q.take();  // alpha
                if (idx >= nv) failAt(source_, vc->offset, "MeshVertexColors: index out of range");
                colours[idx] = {colourByte(r), colourByte(g), colourByte(b)};
                hasColour[idx] = true;
            }
        }
        std::vector<MaterialFill> faceFill;
        if (const XObject* ml = kid(o, "MeshMaterialList")) {
            std::vector<const XObject*> mats;
            for (const auto& k : ml->kids)
                if (k->type == "Material") mats.push_back(k.get());
            for (const std::string& r : ml->refs) {
                auto it = namedMaterials_.find(r);
                if (it == namedMaterials_.end()) failAt(source_, ml->offset, "unknown material \"" + r + "\"");
                mats.push_back(it->second);
            }
            Numbers q(*ml, source_);
            std::size_t nm = q.index(SIZE_MAX);
            std::size_t ni = q.index(q.left());
            std::vector<MaterialFill> fills;
            for (const XObject* mat : mats) fills.push_back(material(*mat));
            for (std::size_t i = 0; i < ni; ++i) {
                std::size_t idx = q.index(SIZE_MAX);
                if (idx >= nm || idx >= fills.size()) failAt(source_, ml->offset, "MeshMaterialList: material index out of range");
                if (faceFill.size() < nf) faceFill.push_back(fills[idx]);
            }
            // A shorter list repeats its last entry.
            while (!faceFill.empty() && faceFill.size() < nf) faceFill.push_back(faceFill.back());
        }

        for (std::size_t f = 0; f < nf; ++f) {
            const auto& face = faces[f];
            if (face.size() < 3) continue;
            Polygon& p = b_.polygon(group);
            if (f < faceFill.size()) {
                p.colour = faceFill[f].colour;
                if (faceFill[f].bitmap) {
                    p.fill = FillKind::Bitmap;
                    p.bitmap = faceFill[f].bitmap;
                }
            }
            const std::vector<std::size_t>* nface =
                f < normalFaces.size() && normalFaces[f].size() == face.size() ? &normalFaces[f] : nullptr;
            // Order kept: reading left-handed numbers as right-handed and swapping y
            // and z are two mirrors that cancel, so a face the file shows clockwise
            // from outside is clockwise from outside here too.
            for (std::size_t i = 0; i < face.size(); ++i) {
                std::size_t v = face[i];
                Point& pt = b_.point(p, verts[v]);
                if (v < uvs.size()) pt.uv = uvs[v];
                if (nface) {
                    pt.normal = normals[(*nface)[i]];
                    pt.hasNormal = true;
                }
                if (!hasColour.empty() && hasColour[v]) pt.rgb = colours[v];
            }
        }
    }

    ImportBuilder& b_;
    const FilePlaces& places_;
    const std::string& source_;
    std::unordered_map<std::string, const XObject*> namedMaterials_;
    std::unordered_map<const XObject*, MaterialFill> fills_;
    FileBitmapIndex fileBitmaps_{b_.world()};
    FolderListings folders_;
    int meshCount_ = 0, frameCount_ = 0;
};

// MSZIP: after the header a DWORD total size, then blocks of (WORD size, WORD
// compressed size, "CK", raw deflate) each using the previous output as dictionary.
std::string inflateMsZip(std::string_view data, const std::string& source) {
    auto u16 = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8);
    };
    if (data.size() < kHeaderSize + 4) failAt(source, kHeaderSize, "compressed data too short");
    std::size_t total = u16(kHeaderSize) | u16(kHeaderSize + 2) << 16;
    // Deflate cannot shrink data by more than about 1:1032.
    if (total > (data.size() + 64) * 1100) failAt(source, kHeaderSize, "implausible uncompressed size " + std::to_string(total));
    std::string out(data.substr(0, kHeaderSize));
    std::size_t pos = kHeaderSize + 4;
    while (pos < data.size()) {
        if (data.size() - pos < 4) failAt(source, pos, "truncated compressed block header");
        std::size_t size = u16(pos), packed = u16(pos + 2);
        pos += 4;
        if (packed < 2 || packed > data.size() - pos || data[pos] != 'C' || data[pos + 1] != 'K')
            failAt(source, pos, "bad compressed block");
        if (out.size() - kHeaderSize + size > total) failAt(source, pos, "blocks larger than the announced size");
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK) failAt(source, pos, "cannot start inflating");
        std::size_t have = out.size() - kHeaderSize;
        if (have > 0) {
            std::size_t dict = have < 32768 ? have : 32768;
            inflateSetDictionary(&z, reinterpret_cast<const Bytef*>(out.data() + out.size() - dict), static_cast<uInt>(dict));
        }
        std::size_t start = out.size();
        out.resize(start + size);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data() + pos + 2));
        z.avail_in = static_cast<uInt>(packed - 2);
        z.next_out = reinterpret_cast<Bytef*>(out.data() + start);
        z.avail_out = static_cast<uInt>(size);
        int rc = inflate(&z, Z_FINISH);
        std::size_t produced = size - z.avail_out;
        inflateEnd(&z);
        if ((rc != Z_STREAM_END && rc != Z_BUF_ERROR && rc != Z_OK) || produced != size)
            failAt(source, pos, "corrupt compressed block");
        pos += packed;
    }
    return out;
}

}  // namespace

bool looksLikeX(std::string_view data) { return data.size() >= 4 && data.substr(0, 4) == "xof "; }

void importX(std::string_view data, ImportBuilder& builder, const FilePlaces& places) {
    const std::string& source = places.worldFile;
    if (data.size() < kHeaderSize || !looksLikeX(data)) failAt(source, 0, "not a .x file");
    std::string_view format = data.substr(8, 4);
    std::string_view floats = data.substr(12, 4);
    if (floats != "0032" && floats != "0064") failAt(source, 12, "unknown float size \"" + std::string(floats) + "\"");
    std::string unpacked;
    bool binary;
    if (format == "txt ") binary = false;
    else if (format == "bin ") binary = true;
    else if (format == "tzip" || format == "bzip") {
        unpacked = inflateMsZip(data, source);
        data = unpacked;
        binary = format == "bzip";
    } else {
        failAt(source, 8, "unknown format \"" + std::string(format) + "\"");
    }
    std::unique_ptr<Lexer> lex;
    if (binary) lex = std::make_unique<BinaryLexer>(data, source, floats == "0064");
    else lex = std::make_unique<TextLexer>(data, source);
    auto top = Parser(*lex, source).parseFile();
    Importer(builder, places).run(top);
}

}  // namespace ombrel

#include "GSettingsWallpaper.h"
#include "WallpaperTexts.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <memory>
#include <string_view>

namespace tavlo::wallpaper {
namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct SchemaUnref {
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
using SettingsPtr = std::unique_ptr<GSettings, GObjectUnref>;
using SchemaPtr = std::unique_ptr<GSettingsSchema, SchemaUnref>;
using GCharPtr = std::unique_ptr<gchar, GFree>;

SchemaPtr findSchema(const std::string& id) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    return SchemaPtr(source ? g_settings_schema_source_lookup(source, id.c_str(), TRUE) : nullptr);
}

SchemaPtr lookUpSchema(const GSettingsLayout& layout) {
    SchemaPtr schema = findSchema(layout.schema);
    if (!schema)
        throw WallpaperError(texts::schemaMissing(layout.schema),
                             "the GSettings schema " + layout.schema + " is not installed");
    std::vector<std::string> keys{layout.optionsKey};
    for (const PictureKey& key : layout.pictureKeys)
        if (key.required) keys.push_back(key.name);
    for (const std::string& key : keys)
        if (!g_settings_schema_has_key(schema.get(), key.c_str()))
            throw WallpaperError(texts::keyMissing(layout.schema, key),
                                 "the GSettings schema " + layout.schema + " has no key " + key);
    return schema;
}

// Without a settings store GIO falls back to keeping values in memory, which
// would report success while the desktop never sees a thing.
void requirePersistentStore() {
    std::unique_ptr<GSettingsBackend, GObjectUnref> backend(g_settings_backend_get_default());
    const std::string_view type = G_OBJECT_TYPE_NAME(backend.get());
    if (type == "GMemorySettingsBackend" || type == "GNullSettingsBackend")
        throw WallpaperError(texts::noSettingsStore(), "no GSettings store is available (GIO uses " +
                                                           std::string(type) +
                                                           "), so the desktop would never see the setting");
}

std::string pictureValue(const PictureKey& key, const std::filesystem::path& path) {
    const std::string native = std::filesystem::absolute(path).string();
    if (!key.holdsUri) {
        if (!g_utf8_validate(native.data(), static_cast<gssize>(native.size()), nullptr))
            throw WallpaperError(texts::pathNotUtf8(), "the picture path is not valid UTF-8: " + native);
        return native;
    }
    GError* error = nullptr;
    GCharPtr uri(g_filename_to_uri(native.c_str(), nullptr, &error));
    if (!uri) {
        const std::string cause = error->message;
        g_error_free(error);
        throw WallpaperError(texts::pathNotUri(), cause);
    }
    return uri.get();
}

void writeString(GSettings* settings, const GSettingsLayout& layout, const std::string& key, const std::string& value) {
    if (!g_settings_set_string(settings, key.c_str(), value.c_str()))
        throw WallpaperError(texts::settingLocked(layout.schema, key),
                             "the setting " + layout.schema + " " + key + " is locked");
}

// The store drops a write it could not deliver; reading back tells.
void checkStored(GSettings* settings, const GSettingsLayout& layout, const std::string& key, const std::string& value) {
    GCharPtr stored(g_settings_get_string(settings, key.c_str()));
    if (value != stored.get())
        throw WallpaperError(texts::settingNotKept(layout.schema, key),
                             "the settings store did not keep " + layout.schema + " " + key);
}

}  // namespace

GSettingsLayout GSettingsLayout::gnome() {
    return {"org.gnome.desktop.background", {{"picture-uri"}, {"picture-uri-dark", true, false}}};
}

GSettingsLayout GSettingsLayout::cinnamon() {
    return {"org.cinnamon.desktop.background", {{"picture-uri"}}};
}

GSettingsLayout GSettingsLayout::mate() {
    return {"org.mate.background", {{"picture-filename", false}}};
}

GSettingsLayout GSettingsLayout::ukui() {
    return {"org.ukui.background", {{"picture-filename", false}, {"picture-uri", true, false}}};
}

bool GSettingsLayout::installed() const {
    return findSchema(schema) != nullptr;
}

void GSettingsWallpaper::write(const GSettingsLayout& layout, const std::filesystem::path& path,
                               const char* style) const {
    const SchemaPtr schema = lookUpSchema(layout);
    SettingsPtr settings(g_settings_new_full(schema.get(), nullptr, nullptr));
    std::vector<std::pair<std::string, std::string>> values;
    for (const PictureKey& key : layout.pictureKeys)
        if (key.required || g_settings_schema_has_key(schema.get(), key.name.c_str()))
            values.emplace_back(key.name, pictureValue(key, path));

    // The picture last, in one change: a desktop never sees it half set. The
    // path differs from the one it has (the caller sees to that), so it
    // loads the file anew.
    writeString(settings.get(), layout, layout.optionsKey, style);
    g_settings_delay(settings.get());
    for (const auto& [key, value] : values) writeString(settings.get(), layout, key, value);
    g_settings_apply(settings.get());
    g_settings_sync();
    for (const auto& [key, value] : values) checkStored(settings.get(), layout, key, value);
}

void GSettingsWallpaper::SetWallpaper(const std::filesystem::path& path) {
    writeAll(path, "stretched");
}

// Every schema of these desktops has the style: one picture across all monitors.
void GSettingsWallpaper::SetSpannedWallpaper(const std::filesystem::path& path) {
    writeAll(path, "spanned");
}

void GSettingsWallpaper::writeAll(const std::filesystem::path& path, const char* style) const {
    std::vector<const GSettingsLayout*> present;
    for (const GSettingsLayout& layout : layouts_)
        if (layouts_.size() == 1 || layout.installed()) present.push_back(&layout);
    if (present.empty()) lookUpSchema(layouts_.front());  // says which is missing
    requirePersistentStore();
    for (const GSettingsLayout* layout : present) write(*layout, path, style);
}

}  // namespace tavlo::wallpaper

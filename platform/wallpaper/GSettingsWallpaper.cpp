#include "GSettingsWallpaper.h"

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

SchemaPtr lookUpSchema(const GSettingsLayout& layout) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    SchemaPtr schema(source ? g_settings_schema_source_lookup(source, layout.schema.c_str(), TRUE) : nullptr);
    if (!schema) throw WallpaperError(layout.desktop + ": the GSettings schema " + layout.schema + " is not installed");
    for (const std::string* key : {&layout.pictureKey, &layout.optionsKey})
        if (!g_settings_schema_has_key(schema.get(), key->c_str()))
            throw WallpaperError(layout.desktop + ": the GSettings schema " + layout.schema + " has no key " + *key);
    return schema;
}

// Without a settings store GIO falls back to keeping values in memory, which
// would report success while the desktop never sees a thing.
void requirePersistentStore(const GSettingsLayout& layout) {
    std::unique_ptr<GSettingsBackend, GObjectUnref> backend(g_settings_backend_get_default());
    const std::string_view type = G_OBJECT_TYPE_NAME(backend.get());
    if (type == "GMemorySettingsBackend" || type == "GNullSettingsBackend")
        throw WallpaperError(layout.desktop + ": no GSettings store is available (GIO uses " + std::string(type) +
                             "), so the desktop would never see the setting");
}

std::string pictureValue(const GSettingsLayout& layout, const std::filesystem::path& path) {
    const std::string native = std::filesystem::absolute(path).string();
    if (!layout.keysHoldUri) {
        if (!g_utf8_validate(native.data(), static_cast<gssize>(native.size()), nullptr))
            throw WallpaperError(layout.desktop + ": the picture path is not valid UTF-8");
        return native;
    }
    GError* error = nullptr;
    GCharPtr uri(g_filename_to_uri(native.c_str(), nullptr, &error));
    if (!uri) {
        const std::string cause = error->message;
        g_error_free(error);
        throw WallpaperError(layout.desktop + ": " + cause);
    }
    return uri.get();
}

void writeString(GSettings* settings, const GSettingsLayout& layout, const std::string& key, const std::string& value) {
    if (!g_settings_set_string(settings, key.c_str(), value.c_str()))
        throw WallpaperError(layout.desktop + ": the setting " + layout.schema + " " + key + " is locked");
}

// The store drops a write it could not deliver; reading back tells.
void checkStored(GSettings* settings, const GSettingsLayout& layout, const std::string& key, const std::string& value) {
    GCharPtr stored(g_settings_get_string(settings, key.c_str()));
    if (value != stored.get())
        throw WallpaperError(layout.desktop + ": the settings store did not keep " + layout.schema + " " + key +
                             " (is its service reachable on the session bus?)");
}

}  // namespace

GSettingsLayout GSettingsLayout::gnome() {
    return {"gnome", "org.gnome.desktop.background", "picture-uri", {"picture-uri-dark"}, true};
}

GSettingsLayout GSettingsLayout::cinnamon() {
    return {"cinnamon", "org.cinnamon.desktop.background", "picture-uri", {}, true};
}

GSettingsLayout GSettingsLayout::mate() {
    return {"mate", "org.mate.background", "picture-filename", {}, false};
}

void GSettingsWallpaper::SetWallpaper(const std::filesystem::path& path) {
    const SchemaPtr schema = lookUpSchema(layout_);
    const std::string value = pictureValue(layout_, path);
    requirePersistentStore(layout_);
    SettingsPtr settings(g_settings_new_full(schema.get(), nullptr, nullptr));

    std::vector<std::string> keys{layout_.pictureKey};
    for (const std::string& key : layout_.optionalKeys)
        if (g_settings_schema_has_key(schema.get(), key.c_str())) keys.push_back(key);

    writeString(settings.get(), layout_, layout_.optionsKey, "stretched");
    // A desktop ignores a key set to the value it already has, and the path
    // of the composite never changes: clear the keys first, in a change of
    // their own, so that setting them again makes the desktop reload the file.
    for (const std::string& key : keys) writeString(settings.get(), layout_, key, "");
    g_settings_sync();
    for (const std::string& key : keys) writeString(settings.get(), layout_, key, value);
    g_settings_sync();
    for (const std::string& key : keys) checkStored(settings.get(), layout_, key, value);
}

}  // namespace tavlo::wallpaper

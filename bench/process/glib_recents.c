/* The shared recently-used file read with GLib's GBookmarkFile: every bookmark grouped by the
 * applications that registered it, each group sorted newest first, every document stated. A
 * smaller job than vorlane-recents (no records, no desktop entries, no JSON), timed beside it. */

#include <glib.h>
#include <glib/gstdio.h>

typedef struct
{
    char* path;
    GDateTime* used;
} Document;

static void document_free(gpointer data)
{
    Document* document = data;
    g_free(document->path);
    g_date_time_unref(document->used);
    g_free(document);
}

static gint newest_first(gconstpointer a, gconstpointer b)
{
    const Document* left = *(Document* const*)a;
    const Document* right = *(Document* const*)b;
    return g_date_time_compare(right->used, left->used);
}

static void add_registrations(GBookmarkFile* file, const char* uri, GHashTable* groups)
{
    char* path = g_filename_from_uri(uri, NULL, NULL);
    GStatBuf info;
    if (!path || g_stat(path, &info) != 0) {
        g_free(path);
        return;
    }
    gsize count = 0;
    char** apps = g_bookmark_file_get_applications(file, uri, &count, NULL);
    for (gsize i = 0; i < count; ++i) {
        GDateTime* stamp = NULL;
        if (!g_bookmark_file_get_application_info(file, uri, apps[i], NULL, NULL, &stamp, NULL))
            continue;
        GPtrArray* group = g_hash_table_lookup(groups, apps[i]);
        if (!group) {
            group = g_ptr_array_new_with_free_func(document_free);
            g_hash_table_insert(groups, g_strdup(apps[i]), group);
        }
        Document* document = g_new0(Document, 1);
        document->path = g_strdup(path);
        document->used = g_date_time_ref(stamp);
        g_ptr_array_add(group, document);
    }
    g_strfreev(apps);
    g_free(path);
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        g_printerr("usage: %s recently-used.xbel\n", argv[0]);
        return 2;
    }
    GBookmarkFile* file = g_bookmark_file_new();
    GError* error = NULL;
    if (!g_bookmark_file_load_from_file(file, argv[1], &error)) {
        g_printerr("%s\n", error->message);
        return 1;
    }
    GHashTable* groups =
        g_hash_table_new_full(g_str_hash, g_str_equal, g_free, (GDestroyNotify)g_ptr_array_unref);
    gsize count = 0;
    char** uris = g_bookmark_file_get_uris(file, &count);
    for (gsize i = 0; i < count; ++i)
        add_registrations(file, uris[i], groups);
    g_strfreev(uris);

    GHashTableIter iter;
    gpointer name, group;
    guint documents = 0;
    g_hash_table_iter_init(&iter, groups);
    while (g_hash_table_iter_next(&iter, &name, &group)) {
        g_ptr_array_sort(group, newest_first);
        documents += ((GPtrArray*)group)->len;
    }
    g_print("%u applications, %u documents\n", g_hash_table_size(groups), documents);
    g_hash_table_unref(groups);
    g_bookmark_file_free(file);
    return 0;
}

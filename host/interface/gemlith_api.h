/*
 * The plain-C interface between the host application and a plugin module.
 *
 * The host hands a filled GmHostApi table to the module's c4d_main with action 1 (p1). The module's
 * binding (host/include, host/src) reaches the host only through this table; the host reaches the
 * module only through c4d_main and the callback tables the binding registers (commands, dialogs).
 * Nothing here is C++: no classes, no exceptions, no shared allocator. Objects are opaque handles.
 *
 * Ownership rules:
 *  - Handles returned by *_alloc belong to the caller until passed to the matching *_free.
 *  - Nodes (objects and tags) belong to the host while they are in a document (or held by the host's
 *    undo). A node made by object_alloc or node_get_clone belongs to the module until inserted;
 *    object_free frees a node that is in no document (with its subtree).
 *  - Text returned as (const char*, size) is UTF-8, not NUL-terminated in general, and valid until the
 *    next call that changes its owner; copy it at once.
 *  - A container handle points to memory whose first word is the handle itself (the binding relies
 *    on this to view a host-owned container as its own BaseContainer without copying).
 */
#ifndef GEMLITH_API_H
#define GEMLITH_API_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Layout version of GmHostApi. A host fills `table_version` and `table_size`; the binding refuses a
 * table that is older or smaller than what it was built against. */
#define GM_API_TABLE_VERSION 3

typedef struct GmDoc GmDoc;             /* a document */
typedef struct GmNode GmNode;           /* a list element: an object or a tag */
typedef struct GmArray GmArray;         /* an AtomArray */
typedef struct GmContainer GmContainer; /* a BaseContainer; first word = the handle itself */
typedef struct GmLink GmLink;           /* a BaseLink */
typedef struct GmDialog GmDialog;       /* the host side of a GeDialog */
typedef struct GmDescription GmDescription;
typedef struct GmResource GmResource;   /* a module's loaded resource (symbols, strings) */
typedef struct GmBitmap GmBitmap;       /* a decoded image */

typedef int32_t GmBool; /* 0 false, anything else true */

/* Value types carried by GmValue; the numbers are the host's data type ids. */
enum {
  GM_VALUE_NONE = 0,
  GM_VALUE_CONTAINER = 132, /* `sub` (owned by the container / parameter that holds it) */
  GM_VALUE_LONG = 15,     /* `i32` (DTYPE_LONG) */
  GM_VALUE_REAL = 19,     /* `real` */
  GM_VALUE_STRING = 130,  /* `str`, `str_len` */
  GM_VALUE_LINK = 133     /* `marker` of the linked element, 0 = empty link (DTYPE_BASELISTLINK) */
};

typedef struct GmValue {
  int32_t type;
  int32_t i32;
  double real;
  uint64_t marker;
  const char* str;
  size_t str_len;
  GmContainer* sub;
} GmValue;

typedef struct GmMatrix {
  double off[3];
  double v1[3];
  double v2[3];
  double v3[3];
} GmMatrix;

/* Module callbacks of a registered command. `self` is passed back unchanged. */
typedef struct GmCommandCallbacks {
  void* self;
  GmBool (*execute)(void* self, GmDoc* doc);
  int32_t (*get_state)(void* self, GmDoc* doc);
  GmBool (*restore_layout)(void* self, void* secret);
  /* Called once when the host unloads its plugins (only for commands it accepted). */
  void (*destroy)(void* self);
} GmCommandCallbacks;

/* Module callbacks of a dialog. */
typedef struct GmDialogCallbacks {
  void* self;
  GmBool (*create_layout)(void* self);
  GmBool (*init_values)(void* self);
  GmBool (*command)(void* self, int32_t id, const GmContainer* msg);
} GmDialogCallbacks;

/* What the host passes as p3 of action 1: the core framework's module record. */
typedef struct GmCoreInfo {
  int32_t size;             /* sizeof(GmCoreInfo) */
  const char* module_path;  /* the module file's path, UTF-8 */
} GmCoreInfo;

typedef struct GmHostApi {
  int32_t table_version; /* GM_API_TABLE_VERSION */
  int32_t table_size;    /* sizeof(GmHostApi) as the host built it */

  /* ---- module ---- */
  int32_t (*api_version)(void); /* the host's API version (21000 and up for R21) */
  GmBool (*register_command)(int32_t id, const char* name, int32_t info, const GmBitmap* icon,
                             const char* help, const GmCommandCallbacks* callbacks);
  /* The module's "res" folder (no trailing separator). */
  const char* (*plugin_resource_path)(size_t* len);
  GmResource* (*resource_load)(const char* res_path);
  void (*resource_free)(GmResource* res);
  /* The string with this id in the host's language, or null when there is none. */
  const char* (*resource_string)(const GmResource* res, int32_t id, size_t* len);
  GmBitmap* (*bitmap_load)(const char* path, double pixel_ratio); /* null: missing/unreadable */
  void (*bitmap_free)(GmBitmap* bmp);

  /* ---- documents ---- */
  GmBool (*doc_start_undo)(GmDoc* doc);
  GmBool (*doc_end_undo)(GmDoc* doc);
  GmBool (*doc_add_undo)(GmDoc* doc, int32_t undo_type, GmNode* node);
  void (*doc_get_active_objects)(GmDoc* doc, GmArray* out, int32_t flags);
  void (*doc_get_active_objects_filter)(GmDoc* doc, GmArray* out, GmBool children, int32_t type,
                                        int32_t instance_of);
  GmNode* (*doc_get_active_object)(GmDoc* doc);
  GmNode* (*doc_get_first_object)(GmDoc* doc);
  void (*doc_insert_object)(GmDoc* doc, GmNode* op, GmNode* parent, GmNode* pred,
                            GmBool check_names);

  /* ---- atoms / list nodes / objects ---- */
  int32_t (*node_get_type)(const GmNode* node);
  GmBool (*node_is_instance_of)(const GmNode* node, int32_t type);
  uint64_t (*node_marker)(const GmNode* node); /* identity kept through undo, never 0 */
  /* Where the node keeps its marker: valid, and unchanged, as long as the node lives. */
  const uint64_t* (*node_marker_memory)(const GmNode* node);
  GmNode* (*node_get_clone)(GmNode* node, int32_t copy_flags);
  /* Reads parameter `id` into *out. Strings and sub-containers in *out stay the node's. */
  GmBool (*node_get_parameter)(GmNode* node, int32_t id, GmValue* out, int32_t flags);
  GmBool (*node_set_parameter)(GmNode* node, int32_t id, const GmValue* value, int32_t flags);
  GmBool (*node_message)(GmNode* node, int32_t type, void* data);
  GmNode* (*node_get_next)(GmNode* node);
  GmNode* (*node_get_pred)(GmNode* node);
  GmNode* (*node_get_up)(GmNode* node);
  GmNode* (*node_get_down)(GmNode* node);
  void (*node_remove)(GmNode* node);
  void (*node_insert_under_last)(GmNode* node, GmNode* parent);
  GmDoc* (*node_get_document)(GmNode* node);
  const char* (*node_get_name)(const GmNode* node, size_t* len);
  void (*node_set_name)(GmNode* node, const char* name, size_t len);
  int32_t (*node_get_all_bits)(const GmNode* node);
  void (*node_set_all_bits)(GmNode* node, int32_t bits);
  GmContainer* (*node_get_data_instance)(GmNode* node); /* null when the node has none */
  GmBool (*node_transfer_goal)(GmNode* source, GmNode* target, GmBool undo_links);
  GmNode* (*object_alloc)(int32_t type);
  void (*object_free)(GmNode* node);
  /* The node's local matrix, held by the node: valid until the node changes or is freed. */
  const GmMatrix* (*object_get_ml)(const GmNode* node);
  void (*object_set_ml)(GmNode* node, const GmMatrix* m);
  /* The object's first tag, or null; the others follow through node_get_next. */
  GmNode* (*object_get_first_tag)(GmNode* node);

  /* ---- atom arrays ---- */
  GmArray* (*array_alloc)(void);
  void (*array_free)(GmArray* arr);
  int32_t (*array_count)(const GmArray* arr);
  GmNode* (*array_index)(const GmArray* arr, int32_t index); /* null outside the range */
  GmBool (*array_append)(GmArray* arr, GmNode* node);
  GmBool (*array_remove)(GmArray* arr, GmNode* node); /* removes the first occurrence */
  void (*array_filter_object)(GmArray* arr, int32_t type, int32_t instance_of);

  /* ---- containers ---- */
  GmContainer* (*container_alloc)(void);
  void (*container_free)(GmContainer* bc);
  void (*container_copy)(GmContainer* dst, const GmContainer* src); /* dst becomes a copy */
  GmBool (*container_get)(const GmContainer* bc, int32_t id, GmValue* out); /* 0: absent */
  void (*container_set)(GmContainer* bc, int32_t id, const GmValue* value); /* sub: copied */
  GmBool (*container_remove)(GmContainer* bc, int32_t id);
  int32_t (*container_count)(const GmContainer* bc);
  /* The element at position `index` in the container's order: its id and value. */
  GmBool (*container_get_index)(const GmContainer* bc, int32_t index, int32_t* id, GmValue* out);
  /* The sub-container stored under `id`, owned by bc, or null. */
  GmContainer* (*container_get_container_instance)(GmContainer* bc, int32_t id);

  /* ---- links ---- */
  GmLink* (*link_alloc)(void);
  void (*link_free)(GmLink* link);
  void (*link_set)(GmLink* link, GmNode* node);      /* null clears the link */
  uint64_t (*link_marker)(const GmLink* link);       /* 0 = empty */
  /* The live element with this marker when it lies in `doc` (null doc: any document) and passes the
   * type filter (instance_of; 0 = any list element, 5155 = objects only), else null. */
  GmNode* (*link_resolve)(uint64_t marker, GmDoc* doc, int32_t instance_of);

  /* ---- application ---- */
  GmBool (*get_input_state)(int32_t device, int32_t channel, GmContainer* out);
  void (*event_add)(int32_t flags);
  void (*stop_all_threads)(void);
  GmBool (*call_command)(int32_t id, int32_t sub_id);
  void (*message_dialog)(const char* text, size_t len);
  /* Modal rename dialog: on confirm returns true and sets *out to the typed text (valid until the
   * next call). */
  GmBool (*rename_dialog)(const char* current, size_t len, const char** out, size_t* out_len);
  GmContainer* (*get_world_plugin_data)(int32_t plugin_id); /* host-owned, null when none */
  GmBool (*set_world_plugin_data)(int32_t plugin_id, const GmContainer* bc, GmBool add);

  /* ---- dialogs ---- */
  GmDialog* (*dialog_alloc)(const GmDialogCallbacks* callbacks); /* null: no handle */
  void (*dialog_free)(GmDialog* dlg);
  GmBool (*dialog_open)(GmDialog* dlg, int32_t dlg_type, int32_t plugin_id, int32_t xpos,
                        int32_t ypos, int32_t default_w, int32_t default_h, int32_t sub_id);
  GmBool (*dialog_restore_layout)(GmDialog* dlg, int32_t plugin_id, int32_t sub_id, void* secret);
  GmBool (*dialog_set_title)(GmDialog* dlg, const char* title, size_t len);
  GmBool (*dialog_group_begin)(GmDialog* dlg, int32_t id, int32_t flags, int32_t cols, int32_t rows,
                               const char* title, size_t title_len, int32_t group_flags,
                               int32_t init_w, int32_t init_h);
  GmBool (*dialog_group_space)(GmDialog* dlg, int32_t space_x, int32_t space_y);
  GmBool (*dialog_group_border_space)(GmDialog* dlg, int32_t left, int32_t top, int32_t right,
                                      int32_t bottom);
  GmBool (*dialog_group_end)(GmDialog* dlg);
  GmBool (*dialog_add_static_text)(GmDialog* dlg, int32_t id, int32_t flags, int32_t init_w,
                                   int32_t init_h, const char* text, size_t len,
                                   int32_t border_style);
  GmBool (*dialog_add_combo_box)(GmDialog* dlg, int32_t id, int32_t flags, int32_t init_w,
                                 int32_t init_h, GmBool special_align, GmBool allow_filtering);
  GmBool (*dialog_free_children)(GmDialog* dlg, int32_t id);
  GmBool (*dialog_add_children)(GmDialog* dlg, int32_t id, const GmContainer* entries);
  GmBool (*dialog_set_int32)(GmDialog* dlg, int32_t id, int32_t value, int32_t min, int32_t max,
                             int32_t step, GmBool tristate);
  GmBool (*dialog_get_int32)(GmDialog* dlg, int32_t id, int32_t* value);
  GmBool (*dialog_layout_changed)(GmDialog* dlg, int32_t id);

  /* ---- descriptions ---- */
  GmDescription* (*description_alloc)(void);
  void (*description_free)(GmDescription* desc);
  GmBool (*description_load)(GmDescription* desc, int32_t type);
  /* The parameter's description container (owned by desc), or null. */
  const GmContainer* (*description_get_parameter)(GmDescription* desc, int32_t id, int32_t dtype,
                                                  int32_t creator);
} GmHostApi;

#ifdef __cplusplus
}
#endif

#endif /* GEMLITH_API_H */

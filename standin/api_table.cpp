// The GmHostApi table: its version and size, and each host concept's part of it (see api_table.h).
#include "api_table.h"

namespace standin {

bool KnownDoc(GmDoc* doc, const char* fn) {
  if (doc && H().IsDocument(doc)) return true;
  H().CodingError(std::string(fn) + " with " + (doc ? "an unknown document" : "no document"));
  return false;
}

void FillApiTable(GmHostApi* t) {
  *t = GmHostApi{};
  t->table_version = GM_API_TABLE_VERSION;
  t->table_size = static_cast<int32_t>(sizeof(GmHostApi));
  FillLoaderApi(t);
  FillRegistryApi(t);
  FillResourcesApi(t);
  FillUndoApi(t);
  FillSelectionApi(t);
  FillDocumentApi(t);
  FillNodeApi(t);
  FillLinkApi(t);
  FillContainerApi(t);
  FillInputApi(t);
  FillPreferencesApi(t);
  FillDialogApi(t);
  FillDescriptionApi(t);
}

}  // namespace standin

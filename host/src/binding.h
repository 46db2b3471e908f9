// The binding's access to the host's interface table, and conversions between the binding's
// values and the table's plain-C values.
#ifndef GEMLITH_BINDING_H
#define GEMLITH_BINDING_H

#include "c4d.h"
#include "gemlith_api.h"

namespace gm {

// The host's table as handed over by InitOS, or null before that. Read on every host call, so
// inline: a walk over a million objects makes about ten calls per instance.
extern const GmHostApi* g_api;
inline const GmHostApi* Api() { return g_api; }
inline void SetApi(const GmHostApi* api) { g_api = api; }

inline GmNode* Node(const void* p) { return reinterpret_cast<GmNode*>(const_cast<void*>(p)); }
inline GmDoc* Doc(const BaseDocument* d) { return reinterpret_cast<GmDoc*>(const_cast<BaseDocument*>(d)); }
template <typename T>
T* As(GmNode* n) { return reinterpret_cast<T*>(n); }

// A host-owned container handle viewed as the binding's BaseContainer.
inline BaseContainer* View(GmContainer* h) { return reinterpret_cast<BaseContainer*>(h); }
inline const BaseContainer* View(const GmContainer* h) { return reinterpret_cast<const BaseContainer*>(h); }

GmValue ToValue(const GeData& d);
GeData FromValue(const GmValue& v);
String TakeString(const char* s, size_t len);

}  // namespace gm

#endif

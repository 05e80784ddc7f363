#include "platform/x11/X11Extensions.h"

#include "platform/x11/XcbReply.h"

#include <xcb/composite.h>
#include <xcb/shm.h>

bool serverPassesSegmentsAsFiles(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* shm = xcb_get_extension_data(connection, &xcb_shm_id);
    if (!shm || !shm->present)
        return false;
    const auto version = quietReply(connection, xcb_shm_query_version_reply, xcb_shm_query_version(connection));
    return version && (version->major_version > 1 || (version->major_version == 1 && version->minor_version >= 2));
}

bool hasComposite(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* composite = xcb_get_extension_data(connection, &xcb_composite_id);
    if (!composite || !composite->present)
        return false;
    // Naming a window's pixmap came with version 0.2.
    const auto version = quietReply(connection, xcb_composite_query_version_reply, xcb_composite_query_version(connection, 0, 4));
    return version && (version->major_version > 0 || version->minor_version >= 2);
}

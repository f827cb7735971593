#pragma once

class CMainFrame;

// The places and routes windows follow the project: when a project is created or opened the routes
// window opens and the places window opens on top of it; when the project is closed or emptied both
// close. They redraw themselves on the project service's announcements (core/project/ProjectService.h).
// Until their window kinds are registered, opening and closing them does nothing.
void FollowProjectWindows(CMainFrame& frame);

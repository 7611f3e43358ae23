.pragma library
// The page's English texts, until the language file gives others; by index.

var main = ["Axis Sensitivity", "x-Axis", "y-Axis", "DPI Setting", "Lighting",
    "Static", "Breath", "Neon", "Finger", "Report rate", "Mouse Speed", "Double-Click Speed",
    "Scroll Speed", "Slow", "Fast", "Number of Rows", "Scrol one Screen", "Top View",
    "Side View", "Profiles", "New", "Delete", "Edit", "Copy", "Load", "Save", "Reset",
    "Reset Factroy Setting", "OK", "Cancel", "Select Color", "Define Color", "Sensor Height",
    "This desktop has no setting for wheel lines", "No updater is installed for this mouse.",
    "RGB", "RainBow", "Horse", "Color Run", "Trailing", "Trailing1", "Streamer1", "Flash", "Police light",
    "Color Static", "No mouse found",
    "Plug in your ORVANE GLIDE MOUSE G7. This page opens by itself when the mouse is connected.",
    "No permission to open the mouse",
    "The mouse is attached, but this user may not open it. Run this command in a terminal to see the fix:",
    "Link to application…", "Open applications", "Linked to this profile", "Add", "Remove", "Close",
    "Profiles follow applications only in an X11 session; switching is off here."]

<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutPane</name>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Local only. Nothing leaves this computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System screenshot location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore previous location</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore here if you want Print Screen to save where it did before. Dropwell does not restore on Quit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None recorded yet</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppModel</name>
    <message>
        <source>so it uses the default settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not create Dropwell folders.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready to capture — click the button again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropwell&apos;s %1 file was too large to read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropwell could not read its %1 file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file is kept as %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the file could not be kept aside.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>so it rebuilt the list from its folders</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not undo expiry for &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not keep &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not move &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not move &apos;%1&apos; to Trash.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not rename &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not open &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a Keep folder outside Dropwell&apos;s Inbox and Expired folders.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloads holds Dropwell&apos;s own folders, so Dropwell does not watch it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloads is inside Dropwell&apos;s own folder, so Dropwell does not watch it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not move download into Inbox.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not move screenshot into Inbox.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not move screen recording into Inbox.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppearanceSwatch</name>
    <message>
        <source>Black</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grey</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Follow the desktop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AtspiPageAccessibility</name>
    <message>
        <source>Dropwell could not switch on the desktop&apos;s accessibility support, which it needs to scroll the page. Turn on assistive technologies in your desktop&apos;s accessibility settings (they come with the at-spi2-core package), then try again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AutoDeletePane</name>
    <message>
        <source>Auto-delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshots &amp; recordings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Everything else</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paused until</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume expiry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Archives, PDFs and other Inbox files. Expired sits 24 hours for undo, then Trash.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CaptureBar</name>
    <message>
        <source>Capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Region</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record display</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording options</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microphone on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microphone off</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CaptureError</name>
    <message>
        <source>Allow Dropwell to capture the screen in your desktop&apos;s settings, then try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t find a display to capture.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CapturePane</name>
    <message>
        <source>Capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshots skip Desktop. The cube writes straight into Inbox.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open screen capture settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshots</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Send screenshots to Inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print Screen saves land in ~/Dropwell/Inbox.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Watch Downloads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New finished files in ~/Downloads — archives, PDFs, disk images, anything. Never replaces the folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daily expiry summary</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A quiet recap of what is about to expire.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CaptureService</name>
    <message>
        <source>Capturing full page…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click the page you want, then try Full page again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t stitch that page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t read that page.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click a window to record. Esc cancels.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drag to select. Esc cancels.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>That selection was too small.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click a window to capture. Esc cancels.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t write the screenshot.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allow screen capture, then click capture again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Every program may capture the screen on this desktop: there is nothing to allow.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DriftBanner</name>
    <message>
        <source>Screenshots are not going to Dropwell.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fix now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DropwellApp</name>
    <message>
        <source>Dropwell now starts when you log in. Settings, General turns that off.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EmptyInbox</name>
    <message>
        <source>Capture above, or press Print Screen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No matching files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inbox is empty</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExpiryEngine</name>
    <message>
        <source>1 day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hours</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExpiryNotify</name>
    <message>
        <source>1 file expired.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 files expired.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 more expires soon.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 more expire soon.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileActions</name>
    <message>
        <source>&apos;%1&apos; is not a valid file name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileFactsView</name>
    <message>
        <source>Modified %1, %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FooterBar</name>
    <message>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reveal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GeneralPane</name>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>How Inbox looks and where Keep sends files.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show inbox count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the number on the cube in the tray, and on Inbox.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Following the desktop, Dropwell is black when the desktop prefers dark and light otherwise. Grey sits between.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Documents</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose folder…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep is one click. Files in Kept never expire.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a folder…</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InboxRowText</name>
    <message>
        <source>Recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Downloads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Safari</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>expires </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InboxTableView</name>
    <message>
        <source>Keep</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show in File Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move to</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose Folder…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open With</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Applications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (default)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MediaForwarders</name>
    <message>
        <source>PDF pages cannot be shown: Dropwell&apos;s media module is missing.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MicrophoneCard</name>
    <message>
        <source>Microphone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Needed to speak over a screen recording. Dropwell records the sound server&apos;s default input.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allowed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>OverlayView</name>
    <message>
        <source>Window</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PdfPages</name>
    <message>
        <source>This PDF cannot be read: the file is damaged or not a PDF.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This PDF is locked with a password.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This PDF has no pages.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This PDF cannot be read: its pages could not be drawn.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PermissionPanel</name>
    <message>
        <source>Allow screen capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If your desktop shows a prompt, use that. Otherwise allow Dropwell to capture the screen in your desktop&apos;s settings, then click Relaunch.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Relaunch</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PngEncoder</name>
    <message>
        <source>There is no picture to write</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not enough memory to encode the picture</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopoverHeader</name>
    <message>
        <source>Inbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 | %2 tonight</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open in File Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Undo last expiry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause expiry 24 hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause until Monday</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resume expiry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Dropwell</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopoverWindow</name>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>Previous</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PulseConnection</name>
    <message>
        <source>There is no sound server</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sound server does not answer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PulseSoundSources</name>
    <message>
        <source>The sound server has no output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The sound server has no input other than monitors</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RecordingBarView</name>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>RedirectNote</name>
    <message>
        <source>en</source>
        <comment>the code of this translation&apos;s language, whose word for &apos;and&apos; joins the names</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redirected on this desktop: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The desktop&apos;s own screenshots are moved in from %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No screenshot tool Dropwell knows was found on this desktop, so its Print Screen saves stay where it puts them. Dropwell&apos;s own captures still land in Inbox.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ScreenRecorder</name>
    <message>
        <source>Already recording.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t start the recorder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No microphone found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t reach the sound server for the microphone.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t open the microphone.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsRanges</name>
    <message>
        <source>%1 was %2; it is now %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshot expiry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Expiry of other files</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsWindow</name>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto-delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StartupCard</name>
    <message>
        <source>Startup</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start at login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dropwell keeps the desktop and Downloads empty only while it runs.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToastRow</name>
    <message>
        <source>Quit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayHelp</name>
    <message>
        <source>This desktop shows no tray icons by itself. Install the AppIndicator extension (package gnome-shell-extension-appindicator) and turn it on in Extensions, and Dropwell&apos;s cube appears in the top bar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The panel has no System Tray. Add the System Tray widget to the panel, and Dropwell&apos;s cube appears there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The panel has no Status Tray. Add the Status Tray Plugin to the panel, and Dropwell&apos;s cube appears there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No system tray was found. Add a tray (notification area) to your panel, and Dropwell&apos;s cube appears there; until then this window stands in for it.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayIcon</name>
    <message>
        <source>Open Dropwell</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Dropwell</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recording — Esc or click Inbox then Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 in inbox</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VideoPreview</name>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>XdgAutostart</name>
    <message>
        <source>Couldn&apos;t remove %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t create %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Couldn&apos;t write %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>

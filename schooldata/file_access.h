// What a workbook file carries besides its bytes on a folder the teachers
// share (owner, group, permission bits, access ACL), so that a save or a new
// file leaves everyone able to use it who could before.
#pragma once

#include <string>

namespace dorv {

// Gives the new file open at `newFd`, about to replace the one open at
// `oldFd`, what the old one carries: its owner and group where the system
// lets us give them (the group alone where the owner cannot be given away,
// which a member of the group may do), its permission bits whatever the
// umask would have taken, and its POSIX access ACL or none as it had. A group
// we are not a member of stays the one the new file got. A file system
// without extended attributes has no ACL to keep. Raises std::system_error.
void KeepAccessOf(int oldFd, int newFd);

// Makes the file just created at `fd` in `folder` as usable to the folder's
// group as the folder is: in a folder its group may write, the file gets the
// folder's group (which a setgid folder has given it already; otherwise
// where we belong to it) and read and write for that group. A folder with a
// default ACL has given the file its access already and is left to it.
// Never raises: a file it cannot share stays as it was made.
void ShareLikeFolder(int fd, const std::string &folder);

}  // namespace dorv

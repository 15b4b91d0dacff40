# Linux: the installed layout and the Debian package.

[Playlist]
File1=C:\Clips\one.gif

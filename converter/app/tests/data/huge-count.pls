[Other]
Keep=yes
[Playlist]
NumberOfEntries=2000000000
File7=C:\Clips\seven.gif
file2=C:\Clips\two.gif

[Playlist]
NumberOfEntries=3
File1=  C:\Clips\one.gif  
File2=
File3=C:\Clips\three.gif
File4=C:\Clips\beyond the count.gif
Title1=One
Version=2
